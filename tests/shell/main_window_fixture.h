#pragma once

// A shown, active main window over its own state, with the document questions answered from a
// script, and the pointer and keys as a user gives them to the canvas.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <memory>

#include "dialog_test_support.h"
#include "fake_document_ui.h"
#include "file_helpers.h"
#include "resources/resources_init.h"
#include "scratch_folder.h"
#include "shell/main_window.h"
#include "shell_test_support.h"

namespace rek::test {

// Runs `trigger` and hands the modal dialog it opens to `use`, which must close it. Any other
// modal window fails the test and is rejected, so that a wrong dialog cannot hang it. Returns
// whether the dialog came up.
template <typename Dialog, typename Trigger, typename Use>
bool withModal(Trigger trigger, Use use) {
    bool shown = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible())
            return;
        if (auto* dialog = dynamic_cast<Dialog*>(modal); dialog != nullptr && !shown) {
            shown = true;
            use(*dialog);
            return;
        }
        ADD_FAILURE() << "unexpected modal window " << modal->metaObject()->className();
        if (auto* other = qobject_cast<QDialog*>(modal))
            other->reject();
        else
            modal->close();
    });
    poll.start();
    trigger();
    return shown;
}

class MainWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { initResources(); }

    void SetUp() override {
        state.settings.openInVtrMode = false;
        window = std::make_unique<MainWindow>(state, &ui);
        ASSERT_TRUE(showActive(*window));
    }

    Editor& editor() { return state.editor; }
    const Model& model() { return state.editor.model(); }
    CanvasWindow& canvas() { return window->canvas(); }
    QString statusText(StatusPanel::Part part) { return window->statusPanel().partText(part); }

    static QPoint canvasPoint(int x, int y) {
        return QPoint(x + CanvasWindow::kBorder, y + CanvasWindow::kBorder);
    }

    // The tools read the pointer that the last frame sampled, as on screen.
    void moveTo(int x, int y, Qt::MouseButtons held = Qt::NoButton) {
        QMouseEvent move(QEvent::MouseMove, canvasPoint(x, y),
                         canvas().mapToGlobal(canvasPoint(x, y)), Qt::NoButton, held,
                         Qt::NoModifier);
        QApplication::sendEvent(&canvas(), &move);
        window->frameTick();
    }

    void drawLine(QPoint from, QPoint to) {
        moveTo(from.x(), from.y());
        QTest::mousePress(&canvas(), Qt::LeftButton, {}, canvasPoint(from.x(), from.y()));
        moveTo(to.x(), to.y(), Qt::LeftButton);
        QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, canvasPoint(to.x(), to.y()));
    }

    // A key as the user types it: to the canvas, which has the focus as after start-up.
    void type(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&canvas(), static_cast<Qt::Key>(key), modifiers);
    }

    ScratchFolder folder;
    AppState state;
    FakeDocumentUi ui;
    std::unique_ptr<MainWindow> window;
};

}  // namespace rek::test
