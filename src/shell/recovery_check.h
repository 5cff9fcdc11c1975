#pragma once

namespace rek {

class Autosave;
class DocumentUi;
class Editor;
class RecoveryStore;

// At start-up, before anything else is opened: when editors that no longer run left recovery
// copies, asks once about the newest one that can be read. Restore puts it in the editor as a
// modified document under its original name and path, writes this process's own copy and only
// then deletes the old one; Discard deletes every copy offered; Later leaves them for the next
// start. Copies that cannot be read are moved aside and reported, never deleted.
void offerRecovery(RecoveryStore& store, Autosave& autosave, Editor& editor, DocumentUi& ui);

}  // namespace rek
