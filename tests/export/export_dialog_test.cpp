#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <fstream>
#include <thread>

#include "export/bmp_export_dialog.h"
#include "export/gif_export_dialog.h"
#include "export_test_support.h"
#include "file_helpers.h"
#include "format_decoders.h"
#include "gif_test_support.h"
#include "shell/text/export_messages.h"
#include "shell/text/messages.h"

namespace rek {
namespace {

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

QString refusal(ExportErrorCode code) {
    return messages::exportError(ExportError(code)).text;
}

// Answers the dialogs' message boxes and keeps what they said.
class ScriptedMessages : public ExportMessages {
  public:
    void inform(QWidget* owner, const QString& text, MessageIcon icon) override {
        informed.push_back(text);
        icons.push_back(icon);
        owners.push_back(owner);
    }
    bool confirmOverwrite(QWidget*, const QString& text) override {
        questions.push_back(text);
        return answerYes;
    }
    bool answerYes = false;
    QStringList informed;
    std::vector<MessageIcon> icons;
    std::vector<QWidget*> owners;
    QStringList questions;
};

class ExportDialogTest : public ::testing::Test {
  protected:
    template <typename Dialog>
    std::unique_ptr<Dialog> open(const char* name = nullptr, int width = 0, int height = 0) {
        auto dialog = std::make_unique<Dialog>(
            snapshot, modelPath, settings,
            [this](QWidget*, const SaveChooserRequest& request) {
                chooserRequests.push_back(request);
                return chosenPath;
            },
            &mainWindow);
        dialog->setMessages(&messages);
        dialog->show();
        if (name != nullptr)
            edit(*dialog, "pathEdit")->setText(*name != '\0' ? path(name) : QString());
        if (width > 0) {
            edit(*dialog, "widthEdit")->setText(QString::number(width));
            edit(*dialog, "heightEdit")->setText(QString::number(height));
        }
        return dialog;
    }
    QString path(const char* name) const { return QString::fromStdString(dir.path(name).string()); }

    // Create, and the dialog's own event loop until the export has ended and the dialog
    // closed; false when it did not close.
    static bool createAndWait(ExportDialog& dialog) {
        QSignalSpy closed(&dialog, &QDialog::finished);
        click(dialog, "createButton");
        return closed.count() > 0 || closed.wait(60000);
    }
    template <typename T>
    static T* child(QDialog& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QLineEdit* edit(QDialog& dialog, const char* name) {
        return child<QLineEdit>(dialog, name);
    }
    static QString text(QDialog& dialog, const char* name) {
        return child<QLabel>(dialog, name)->text();
    }
    static void click(QDialog& dialog, const char* name) {
        child<QAbstractButton>(dialog, name)->click();
    }
    static bool enabled(QDialog& dialog, const char* name) {
        return child<QWidget>(dialog, name)->isEnabled();
    }

    test::TempDir dir;
    AnimationSnapshot snapshot = test::twoSegmentModel();
    QString modelPath = path("drawing.rkm");
    ExportSettings settings;
    ScriptedMessages messages;
    QWidget mainWindow;
    std::optional<ChosenFile> chosenPath;
    std::vector<SaveChooserRequest> chooserRequests;
};

TEST_F(ExportDialogTest, OpensWithTheModelsPathSizeAndTheRememberedChoices) {
    settings = {ExportKind::Vtr, 7, 3, true, true};
    auto gif = open<GifExportDialog>();
    EXPECT_EQ(gif->windowTitle(), qs("アニメーションGIFファイル作成"));
    EXPECT_EQ(edit(*gif, "pathEdit")->text(), path("drawing.gif"));
    EXPECT_TRUE(child<QRadioButton>(*gif, "vtrButton")->isChecked());
    EXPECT_EQ(edit(*gif, "waitEdit")->text(), "7");
    EXPECT_EQ(child<QSlider>(*gif, "smoothnessSlider")->value(), 3);
    EXPECT_EQ(edit(*gif, "heightEdit")->text(), "600");
    EXPECT_TRUE(child<QRadioButton>(*gif, "antiAliasOnButton")->isChecked());
    // A GIF cannot keep smoothed edges transparent.
    EXPECT_TRUE(child<QCheckBox>(*gif, "transparentBox")->isChecked());
    EXPECT_FALSE(enabled(*gif, "transparentBox"));

    // A remembered still image opens the GIF dialog on the wobble and is forgotten; the BMP
    // dialog keeps it.
    settings.kind = ExportKind::Still;
    auto bmp = open<BmpExportDialog>();
    EXPECT_TRUE(child<QRadioButton>(*bmp, "stillButton")->isChecked());
    EXPECT_EQ(edit(*bmp, "pathEdit")->text(), path("drawing.bmp"));
    modelPath.clear();  // a model without a file yet
    auto second = open<GifExportDialog>();
    EXPECT_TRUE(child<QRadioButton>(*second, "wobbleButton")->isChecked());
    EXPECT_FALSE(enabled(*second, "waitEdit"));
    EXPECT_EQ(settings.kind, ExportKind::Wobble);
    EXPECT_TRUE(edit(*second, "pathEdit")->text().isEmpty());
}

TEST_F(ExportDialogTest, EstimatesLiveAndKeepsTheRatioOnlyForTheEditTypedInto) {
    auto gif = open<GifExportDialog>();
    EXPECT_EQ(text(*gif, "frameEstimate"), "5");
    click(*gif, "vtrButton");
    child<QSlider>(*gif, "smoothnessSlider")->setValue(6);
    EXPECT_EQ(text(*gif, "frameEstimate"), "53");
    edit(*gif, "waitEdit")->setText("2147483648");
    EXPECT_EQ(text(*gif, "frameEstimate"), "***");

    auto type = [&](const char* name, const char* value) {
        QLineEdit* line = edit(*gif, name);
        line->setFocus();
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Delete);
        QTest::keyClicks(line, value);
    };
    type("widthEdit", "400");
    EXPECT_EQ(edit(*gif, "heightEdit")->text(), "300");
    type("heightEdit", "301");
    EXPECT_EQ(edit(*gif, "widthEdit")->text(), "401");  // 401.33 truncated
    type("heightEdit", "x");                            // not a number: the width stays
    EXPECT_EQ(edit(*gif, "widthEdit")->text(), "401");
    click(*gif, "originalSizeButton");
    EXPECT_EQ(edit(*gif, "widthEdit")->text(), "800");

    auto bmp = open<BmpExportDialog>();
    EXPECT_EQ(text(*bmp, "sizeEstimate"), "     2.289");  // 800 x 600 x 5 bytes
    edit(*bmp, "widthEdit")->setText("abc");
    EXPECT_EQ(text(*bmp, "sizeEstimate"), "***");
    click(*bmp, "stillButton");
    click(*bmp, "originalSizeButton");
    EXPECT_EQ(text(*bmp, "frameEstimate"), "1");
    EXPECT_EQ(text(*bmp, "sizeEstimate"), "     0.458");
}

TEST_F(ExportDialogTest, RefusesInvalidFieldsAndStaysOpenRememberingNothing) {
    auto gif = open<GifExportDialog>("");
    const ExportSettings before = settings;
    click(*gif, "vtrButton");
    using Edits = std::vector<std::pair<const char*, const char*>>;
    const std::vector<std::pair<Edits, ExportErrorCode>> steps = {
        {{}, ExportErrorCode::NoPath},
        {{{"waitEdit", "soon"}}, ExportErrorCode::WaitInvalid},
        {{{"waitEdit", "86401"}}, ExportErrorCode::WaitTooLong},
        {{{"waitEdit", "0"}, {"widthEdit", "0"}}, ExportErrorCode::WidthInvalid},
        {{{"widthEdit", "2147483648"}}, ExportErrorCode::WidthInvalid},
        {{{"widthEdit", "20000"}, {"heightEdit", "-3"}}, ExportErrorCode::HeightInvalid},
        {{{"heightEdit", "10"}}, ExportErrorCode::SizeTooLarge}};
    for (const auto& [edits, refused] : steps) {
        for (const auto& [name, value] : edits)
            edit(*gif, name)->setText(qs(value));
        click(*gif, "createButton");
        ASSERT_FALSE(messages.informed.isEmpty());
        EXPECT_EQ(messages.informed.back(), refusal(refused)) << int(refused);
        EXPECT_EQ(messages.icons.back(), MessageIcon::None);
        EXPECT_EQ(messages.owners.back(), gif.get());
        edit(*gif, "pathEdit")->setText(path("out.gif"));
    }
    EXPECT_TRUE(gif->isVisible());
    EXPECT_EQ(settings, before);
    EXPECT_EQ(dir.entryCount(), 0u);
}

TEST_F(ExportDialogTest, AsksBeforeOverwritingTheFirstFileThatWillBeWritten) {
    std::ofstream(dir.path("anim.gif")) << "old";
    auto gif = open<GifExportDialog>("anim.gif", 80, 60);
    click(*gif, "createButton");
    ASSERT_EQ(messages.questions.size(), 1);
    EXPECT_EQ(messages.questions[0], messages::exportOverwrite(path("anim.gif")));
    EXPECT_TRUE(gif->isVisible());  // No keeps the dialog and the file
    EXPECT_EQ(test::readBytes(dir.path("anim.gif")), "old");
    messages.answerYes = true;
    ASSERT_TRUE(createAndWait(*gif));
    EXPECT_TRUE(test::decodeGif(dir.path("anim.gif")));

    // A set: the base name itself is never written, the first numbered file is.
    std::ofstream(dir.path("series")) << "unrelated";
    messages.questions.clear();
    messages.answerYes = false;
    auto bmp = open<BmpExportDialog>("series.bmp", 80, 60);
    ASSERT_TRUE(createAndWait(*bmp));
    EXPECT_TRUE(messages.questions.isEmpty());
    EXPECT_TRUE(std::filesystem::exists(dir.path("series0004.bmp")));
    auto again = open<BmpExportDialog>("series");
    click(*again, "createButton");
    ASSERT_EQ(messages.questions.size(), 1);
    EXPECT_EQ(messages.questions[0], messages::exportOverwrite(path("series0000.bmp")));
}

TEST_F(ExportDialogTest, CancelRemembersTheChoicesWithAnInvalidWaitAsFive) {
    auto gif = open<GifExportDialog>();
    click(*gif, "vtrButton");
    edit(*gif, "waitEdit")->setText("12");
    child<QSlider>(*gif, "smoothnessSlider")->setValue(4);
    click(*gif, "antiAliasOnButton");
    click(*gif, "cancelButton");
    EXPECT_FALSE(gif->isVisible());
    EXPECT_EQ(settings, (ExportSettings{ExportKind::Vtr, 12, 4, true, false}));

    settings.transparent = true;
    auto bmp = open<BmpExportDialog>();
    click(*bmp, "stillButton");
    edit(*bmp, "waitEdit")->setText("later");
    bmp->reject();  // Escape and the close box cancel too
    EXPECT_EQ(settings, (ExportSettings{ExportKind::Still, 5, 4, true, false}));
    EXPECT_TRUE(messages.informed.isEmpty());
}

TEST_F(ExportDialogTest, ReportsAFailedExportToTheMainWindowAndCloses) {
    auto gif = open<GifExportDialog>("no/such/folder/a.gif", 100, 75);
    ASSERT_TRUE(createAndWait(*gif));
    ASSERT_EQ(messages.informed.size(), 2);
    EXPECT_TRUE(messages.informed[0].contains(qs("書き込めませんでした")));
    EXPECT_EQ(messages.icons[0], MessageIcon::Error);
    EXPECT_EQ(messages.owners[0], &mainWindow);
    EXPECT_EQ(messages.informed[1], messages::exportFinished(ExportTarget::Gif, false));
    EXPECT_FALSE(gif->isVisible());
    EXPECT_EQ(settings.kind, ExportKind::Wobble);  // remembered all the same
}

TEST_F(ExportDialogTest, TheExportRunsOnWhileTheDialogIsLockedButForStop) {
    auto bmp = open<BmpExportDialog>("frames", 160, 120);
    click(*bmp, "vtrButton");
    edit(*bmp, "waitEdit")->setText("3");
    int afterExport = 0;
    bmp->setAfterExport([&] { ++afterExport; });
    // What the status line says whenever the bar moves.
    QProgressBar* bar = child<QProgressBar>(*bmp, "progressBar");
    std::vector<std::pair<int, QString>> steps;
    QObject::connect(bar, &QProgressBar::valueChanged, bmp.get(),
                     [&](int value) { steps.emplace_back(value, text(*bmp, "statusLabel")); });

    QSignalSpy closed(bmp.get(), &QDialog::finished);
    click(*bmp, "createButton");
    // The export has only been handed to its worker: nothing it reports has arrived yet.
    EXPECT_TRUE(bmp->isExporting());
    for (QWidget* control : bmp->findChildren<QWidget*>()) {
        if (control->inherits("QLineEdit") || control->inherits("QAbstractButton") ||
            control->inherits("QSlider")) {
            EXPECT_EQ(control->isEnabled(), control->objectName() == "cancelButton")
                << control->objectName().toStdString();
        }
    }
    // Cancel has become Stop, the one control left.
    EXPECT_EQ(child<QPushButton>(*bmp, "cancelButton")->text(), messages::exportStopButton());

    // The dialog's event loop goes on; the bar follows the worker frame by frame.
    ASSERT_TRUE(closed.count() > 0 || closed.wait(60000));
    ASSERT_EQ(steps.size(), 75u);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].first, static_cast<int>(i + 1));
        EXPECT_EQ(steps[i].second, messages::exportStage(ExportStage::CreatingImages)) << i;
    }
    EXPECT_EQ(afterExport, 1);
    EXPECT_EQ(messages.informed, QStringList{messages::exportFinished(ExportTarget::Bmp, true)});
    EXPECT_EQ(text(*bmp, "statusLabel"), messages::exportStage(ExportStage::Done));
    EXPECT_TRUE(std::filesystem::exists(dir.path("frames0074.bmp")));
    EXPECT_EQ(settings, (ExportSettings{ExportKind::Vtr, 3, 12, false, false}));
}

// Runs the real engine, holding the worker after frame `holdAt` until a stop is asked for, so
// that the stop comes at exactly that frame.
ExportEngine holdingEngine(std::uint64_t holdAt) {
    class Holding : public ExportProgress {
      public:
        Holding(ExportProgress& relay, std::stop_token stop, std::uint64_t holdAt)
            : relay_(relay), stop_(std::move(stop)), holdAt_(holdAt) {}
        void stageChanged(ExportStage stage) override { relay_.stageChanged(stage); }
        void frameCountKnown(std::uint64_t frames) override { relay_.frameCountKnown(frames); }
        void frameDone(std::uint64_t done) override {
            relay_.frameDone(done);
            for (int waited = 0; done == holdAt_ && !stop_.stop_requested() && waited < 30000;
                 ++waited)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }

      private:
        ExportProgress& relay_;
        std::stop_token stop_;
        std::uint64_t holdAt_;
    };
    return [holdAt](const ExportPlan& plan, ExportProgress& progress, std::stop_token stop) {
        Holding holding(progress, stop, holdAt);
        return runExport(plan, holding, stop);
    };
}

// Stop at the first, a middle and the last frame, by the button, Escape and the close box:
// the worker ends at once, nothing is written, the dialog says so and stays open.
TEST_F(ExportDialogTest, StopAtAnyFrameWritesNothingAndKeepsTheDialogOpen) {
    struct Case {
        const char* name;
        std::uint64_t frame;
        int how;  // 0 the button, 1 Escape, 2 the close box
    };
    for (const Case& c :
         {Case{"anim.webp", 1, 0}, Case{"anim.png", 20, 1}, Case{"anim.gif", 41, 2}}) {
        SCOPED_TRACE(std::string(c.name) + " at frame " + std::to_string(c.frame));
        const ExportSettings before = settings;
        auto dialog = open<GifExportDialog>(c.name, 120, 90);
        dialog->setEngine(holdingEngine(c.frame));
        click(*dialog, "vtrButton");
        edit(*dialog, "waitEdit")->setText("1");
        QProgressBar* bar = child<QProgressBar>(*dialog, "progressBar");
        click(*dialog, "createButton");
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return bar->value() == static_cast<int>(c.frame); }, 60000));
        EXPECT_EQ(bar->maximum(), 41);

        QElapsedTimer clock;
        clock.start();
        if (c.how == 0)
            click(*dialog, "cancelButton");
        else if (c.how == 1)
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            dialog->close();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->isExporting(); }, 10000));
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_EQ(text(*dialog, "statusLabel"), messages::exportStopped());
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(enabled(*dialog, "createButton"));
        EXPECT_TRUE(enabled(*dialog, "waitEdit"));
        EXPECT_EQ(child<QPushButton>(*dialog, "cancelButton")->text(), qs("キャンセル"));
        EXPECT_TRUE(messages.informed.isEmpty());
        EXPECT_EQ(test::entriesIn(dir.path(".")), 0u);
        EXPECT_EQ(settings, before);
    }
}

TEST_F(ExportDialogTest, TheNameEnteredPicksTheFormat) {
    auto animation = open<GifExportDialog>("anim.webp", 80, 60);
    click(*animation, "antiAliasOnButton");
    // WebP and APNG keep smoothed edges as alpha; a GIF cannot.
    EXPECT_TRUE(enabled(*animation, "transparentBox"));
    edit(*animation, "pathEdit")->setText(path("anim"));
    EXPECT_FALSE(enabled(*animation, "transparentBox"));
    edit(*animation, "pathEdit")->setText(path("anim.apng"));
    child<QCheckBox>(*animation, "transparentBox")->setChecked(true);
    ASSERT_TRUE(createAndWait(*animation));
    EXPECT_EQ(messages.informed, QStringList{messages::exportFinished(ExportTarget::Apng, true)});
    const auto apng = test::decodeApng(dir.path("anim.apng"));
    ASSERT_TRUE(apng.has_value());
    EXPECT_EQ(apng->frames[0].at(0, 0), 0u);  // transparent background
}

TEST_F(ExportDialogTest, ExportsTheSnapshotItWasGivenWhateverHappensToTheOriginal) {
    auto png = open<BmpExportDialog>("still.png", 80, 60);
    snapshot.vertices.clear();  // the editor goes on after opening the dialog
    snapshot.properties.backgroundColor = {1, 2, 3};
    click(*png, "stillButton");
    ASSERT_TRUE(createAndWait(*png));
    const auto still = test::decodePng(dir.path("still.png"));
    ASSERT_TRUE(still.has_value());
    // The standard background, and the first segment's line on row 10.
    EXPECT_EQ(still->at(0, 0), 0xFFEE9C00u);
    EXPECT_EQ(still->at(40, 10), 0xFF000000u);
}

TEST_F(ExportDialogTest, BrowseAsksTheShellsChooserAndTakesItsAnswer) {
    auto bmp = open<BmpExportDialog>();
    chosenPath = ChosenFile{QStringLiteral("/somewhere/frames.bmp"), 0};
    click(*bmp, "browseButton");
    ASSERT_EQ(chooserRequests.size(), 1u);
    EXPECT_EQ(chooserRequests[0].title, qs("連番BMPファイルの保存"));
    EXPECT_EQ(chooserRequests[0].currentPath, path("drawing.bmp"));
    EXPECT_EQ(edit(*bmp, "pathEdit")->text(), "/somewhere/frames.bmp");
    chosenPath.reset();  // cancelled: the name stays
    click(*bmp, "browseButton");
    EXPECT_EQ(edit(*bmp, "pathEdit")->text(), "/somewhere/frames.bmp");
    // The type chosen (here the second, WebP) gives a bare name its extension.
    auto gif = open<GifExportDialog>();
    chosenPath = ChosenFile{QStringLiteral("/somewhere/anim"), 1};
    click(*gif, "browseButton");
    EXPECT_EQ(edit(*gif, "pathEdit")->text(), "/somewhere/anim.webp");
}

TEST_F(ExportDialogTest, ValidationMessagesAreCaptionedPlainOkBoxes) {
    auto gif = open<GifExportDialog>("");
    gif->setMessages(nullptr);  // the real message boxes
    QString caption;
    QString shown;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        shown = box->text();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    click(*gif, "createButton");
    EXPECT_EQ(caption, messages::appTitle());
    EXPECT_EQ(shown, refusal(ExportErrorCode::NoPath));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_TRUE(gif->isVisible());
}

}  // namespace
}  // namespace rek

int main(int argc, char** argv) {
    // Test discovery runs this binary outside the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
