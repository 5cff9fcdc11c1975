#pragma once

#include <QDialog>

#include "shell/file_association.h"

class QCheckBox;

namespace rek {

// The program setting that is not a model property, and the buttons that associate model files
// with this program or remove the association. The setting changes on OK only; the
// association buttons act at once and report their outcome in a message box.
class SettingsDialog : public QDialog {
    Q_OBJECT

  public:
    SettingsDialog(bool& openInVtrMode, AssociationTarget association, QWidget* parent = nullptr);

    void accept() override;

  private:
    void associate();
    void removeAssociation();
    void report(AssociationAction action, const AssociationOutcome& outcome);

    bool& openInVtrMode_;
    AssociationTarget association_;
    QCheckBox* vtrModeBox_ = nullptr;
};

}  // namespace rek
