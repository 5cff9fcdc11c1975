// The start-up question about the unsaved changes of an editor that was killed, and the
// autosave that keeps them.

#include "shell/recovery_check.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fake_document_ui.h"
#include "file_helpers.h"
#include "recovery_test_support.h"
#include "scratch_folder.h"
#include "shell/autosave.h"
#include "shell/document_commands.h"
#include "shell/recovery_store.h"
#include "shell_test_support.h"

namespace rek {
namespace {

namespace fs = std::filesystem;

class RecoveryTest : public ::testing::Test {
  protected:
    RecoveryTest() { state.settings.openInVtrMode = false; }

    Model lostDrawing() const {
        Model model;
        model.properties.lineWidth = 9;
        model.vertices = test::strokes({{{10, 20}, {30, 40}, {50, 60}}, {{70, 80}, {90, 100}}});
        return model;
    }

    // The copies of this start, or of the next one.
    std::size_t copiesLeft() {
        RecoveryStore next(folder);
        return next.claim() ? next.findAbandoned().size() : 0;
    }

    test::ScratchFolder scratch;
    const std::string folder = scratch.file("recovery");
    AppState state;
    FakeDocumentUi ui;
    RecoveryStore store{folder};
    Autosave autosave{state.editor, store};
    DocumentCommands commands{state, ui};
};

// The restored drawing itself, its name and path are checked across a real kill in
// recovery_process_test.cpp.
TEST_F(RecoveryTest, RestoreStartsTheHistoryAfreshAndTakesOverTheCopy) {
    ASSERT_FALSE(
        test::leaveAbandonedCopy(folder, lostDrawing(), {"/a.rkm", 1'700'000'000'000, 7}).empty());
    ASSERT_TRUE(store.claim());
    ui.recoveryAnswers = {RecoveryAnswer::Restore};
    offerRecovery(store, autosave, state.editor, ui);
    ASSERT_EQ(ui.recoveryQuestions.size(), 1u);
    EXPECT_EQ(ui.recoveryQuestions[0].displayName, QStringLiteral("a.rkm"));
    EXPECT_EQ(ui.recoveryQuestions[0].savedAt.toMSecsSinceEpoch(), 1'700'000'000'000);
    EXPECT_EQ(state.editor.model().properties.lineWidth, 9);
    EXPECT_FALSE(state.editor.canUndo());
    // This start's own copy took the old one's place.
    EXPECT_TRUE(fs::exists(store.copyPath(store.ownId())));
    EXPECT_EQ(copiesLeft(), 0u);
}

TEST_F(RecoveryTest, DiscardDeletesEveryCopyAndLaterKeepsThemForTheNextStart) {
    test::leaveAbandonedCopy(folder, lostDrawing(), {"", 1, 1});
    test::leaveAbandonedCopy(folder, lostDrawing(), {"", 2, 1});
    {
        RecoveryStore first(folder);
        ASSERT_TRUE(first.claim());
        ui.recoveryAnswers = {RecoveryAnswer::Later};
        offerRecovery(first, autosave, state.editor, ui);
    }
    EXPECT_TRUE(state.editor.model().vertices.empty());
    EXPECT_EQ(copiesLeft(), 2u);

    ASSERT_TRUE(store.claim());
    ui.recoveryAnswers = {RecoveryAnswer::Discard};
    offerRecovery(store, autosave, state.editor, ui);
    EXPECT_EQ(ui.recoveryQuestions.size(), 2u);  // once per start, however many copies
    EXPECT_EQ(ui.recoveryQuestions[1].displayName, QString());
    EXPECT_TRUE(state.editor.model().vertices.empty());
    EXPECT_EQ(copiesLeft(), 0u);
}

TEST_F(RecoveryTest, ACopyThatCannotBeReadIsReportedAndKeptAside) {
    ASSERT_TRUE(store.claim());
    test::writeFileBytes(store.copyPath("99-12345678"), {'R', 'E', 'K'});
    offerRecovery(store, autosave, state.editor, ui);

    EXPECT_TRUE(ui.recoveryQuestions.empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(
        ui.messages[0].text,
        QStringLiteral("復元用のデータを読み込めませんでした。\n次のフォルダに残してあります：\n") +
            QString::fromStdString(store.keptAsideFolder()));
    EXPECT_EQ(test::readFileBytes(store.keptAsideFolder() + "/99-12345678.rkm").size(), 3u);
    EXPECT_EQ(copiesLeft(), 0u);
}

// --- The autosave
// ---------------------------------------------------------------------------------

class AutosaveTest : public RecoveryTest {
  protected:
    void SetUp() override { ASSERT_TRUE(store.claim()); }

    std::optional<RecoveryRecord> record() {
        const std::vector<std::uint8_t> bytes =
            test::readFileBytes(store.recordPath(store.ownId()));
        return decodeRecoveryRecord(std::string(bytes.begin(), bytes.end()));
    }
    std::vector<test::Pt> copied() {
        const ModelFileRead read = readModel(store.copyPath(store.ownId()));
        if (!std::holds_alternative<ModelFileContents>(read))
            return {};
        return test::pts(std::get<ModelFileContents>(read).vertices);
    }
};

TEST_F(AutosaveTest, ACopyIsWrittenOnlyWhenTheDocumentChangedSinceTheLastOne) {
    autosave.writeNow();
    EXPECT_FALSE(record().has_value()) << "nothing to keep without changes";

    test::drawLine(state.editor, {10, 10}, {50, 10});
    ASSERT_TRUE(autosave.writeNow());
    ASSERT_TRUE(record().has_value());
    EXPECT_EQ(copied(), test::pts(state.editor.model().vertices));
    EXPECT_EQ(record()->processId, ::getpid());
    EXPECT_TRUE(record()->originalPath.empty());

    // The wobble moves every vertex, but that is no change of the document.
    const std::int64_t firstTime = record()->savedAtMs;
    fs::remove(store.recordPath(store.ownId()));
    state.editor.wobbleTick();
    ASSERT_TRUE(autosave.writeNow());
    EXPECT_FALSE(record().has_value());

    test::drawLine(state.editor, {10, 20}, {50, 20});
    ASSERT_TRUE(autosave.writeNow());
    ASSERT_TRUE(record().has_value());
    EXPECT_GE(record()->savedAtMs, firstTime);
    EXPECT_EQ(copied().size(), 4u);
}

TEST_F(AutosaveTest, SavingOrStartingAnotherDocumentRemovesTheCopy) {
    test::drawLine(state.editor, {10, 10}, {50, 10});
    ASSERT_TRUE(autosave.writeNow());
    ASSERT_TRUE(state.editor.saveDocument(scratch.file("saved.rkm"), "saved.rkm") == std::nullopt);
    autosave.writeNow();
    EXPECT_FALSE(fs::exists(store.copyPath(store.ownId())));
    EXPECT_FALSE(record().has_value());

    // The copy follows the document's path.
    test::drawLine(state.editor, {10, 20}, {50, 20});
    ASSERT_TRUE(autosave.writeNow());
    EXPECT_EQ(record()->originalPath, scratch.file("saved.rkm"));
    ui.saveAnswers = {SaveAnswer::No};
    ASSERT_TRUE(commands.newModel());
    autosave.writeNow();
    EXPECT_FALSE(fs::exists(store.copyPath(store.ownId())));

    // A clean exit after "No" removes it too.
    test::drawLine(state.editor, {10, 20}, {50, 20});
    ASSERT_TRUE(autosave.writeNow());
    autosave.removeCopy();
    EXPECT_FALSE(fs::exists(store.copyPath(store.ownId())));
    EXPECT_EQ(test::entriesIn(folder), 1u);  // the lock
}

namespace fs = std::filesystem;

Model drawing(std::initializer_list<std::initializer_list<Point>> lines) {
    Model model;
    model.vertices = test::strokes(lines);
    return model;
}

TEST(RecoveryRecord, RoundTripsAnyPathBytesAndRefusesWhatIsNoRecord) {
    for (const RecoveryRecord& record :
         {RecoveryRecord{"/home/u/bad\xff\xfe name.rkm", 1'700'000'000'123, 4242},
          RecoveryRecord{"", 0, 1}}) {
        EXPECT_EQ(decodeRecoveryRecord(encodeRecoveryRecord(record)), record);
    }
    for (const std::string& bad :
         {std::string(), std::string("rektool recovery 2\npid 1\nsaved 2\npath \n"),
          std::string("rektool recovery 1\npid 1\nsaved 2\n"),
          std::string("rektool recovery 1\npid -1\nsaved 2\npath \n"),
          std::string("rektool recovery 1\npid 1\nsaved 99999999999999999999\npath \n"),
          encodeRecoveryRecord({"/a.rkm", 5, 6}) + std::string(70'000, ' ')})
        EXPECT_FALSE(decodeRecoveryRecord(bad)) << bad.substr(0, 60);
}

class RecoveryStoreTest : public ::testing::Test {
  protected:
    test::ScratchFolder scratch;
    const std::string folder = scratch.file("state/rektool/recovery");
};

TEST_F(RecoveryStoreTest, KilledEditorsLeaveCopiesThatAreOfferedNewestFirst) {
    const std::string older =
        test::leaveAbandonedCopy(folder, drawing({{{1, 1}, {2, 2}}}), {"/older.rkm", 1000, 11});
    const std::string newer =
        test::leaveAbandonedCopy(folder, drawing({{{3, 3}, {4, 4}}}), {"/newer\xff.rkm", 2000, 12});
    ASSERT_FALSE(older.empty());
    ASSERT_FALSE(newer.empty());

    RecoveryStore store(folder);
    ASSERT_TRUE(store.claim());
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all) << "a private folder";
    const std::vector<AbandonedCopy> copies = store.findAbandoned();
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].id, newer);
    EXPECT_EQ(copies[0].record, (RecoveryRecord{"/newer\xff.rkm", 2000, 12}));
    EXPECT_EQ(copies[1].id, older);
    const ModelFileRead read = store.readCopy(copies[0]);
    ASSERT_TRUE(std::holds_alternative<ModelFileContents>(read));
    EXPECT_EQ(std::get<ModelFileContents>(read).vertices[0].x, 3);

    // While this start holds them, another start leaves them alone.
    RecoveryStore other(folder);
    ASSERT_TRUE(other.claim());
    EXPECT_TRUE(other.findAbandoned().empty());
}

TEST_F(RecoveryStoreTest, ALockWithoutACopyIsTidiedAndACopyWithoutARecordIsUntitled) {
    RecoveryStore store(folder);
    ASSERT_TRUE(store.claim());
    // A killed editor that never wrote a copy, and one killed between the copy and its record.
    test::writeFileBytes(store.lockPath("123-0badcafe"), {});
    const std::vector<std::uint8_t> image = encodeModelFile(drawing({{{5, 5}, {6, 6}}}));
    test::writeFileBytes(store.copyPath("124-00c0ffee"), image);
    // Names of other kinds are no copies.
    test::writeFileBytes(scratch.path("state/rektool/recovery/notes.rkm"), image);

    const std::vector<AbandonedCopy> copies = store.findAbandoned();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].id, "124-00c0ffee");
    EXPECT_TRUE(copies[0].record.originalPath.empty());
    EXPECT_GT(copies[0].record.savedAtMs, 0);
    EXPECT_FALSE(fs::exists(store.lockPath("123-0badcafe")));
}

}  // namespace
}  // namespace rek
