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
#include "image_test_support.h"
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

QString done() {
    return messages::exportStage(ExportStage::Done);
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
    std::unique_ptr<Dialog> open() {
        auto dialog = std::make_unique<Dialog>(
            snapshot, modelPath, settings,
            [this](QWidget*, const SaveChooserRequest& request) {
                chooserRequests.push_back(request);
                return chosenPath;
            },
            &mainWindow);
        dialog->setMessages(&messages);
        dialog->show();
        return dialog;
    }

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
    static QString text(QDialog& dialog, const char* name) {
        return child<QLabel>(dialog, name)->text();
    }
    static void setEdit(QDialog& dialog, const char* name, const QString& value) {
        child<QLineEdit>(dialog, name)->setText(value);
    }
    static void type(QDialog& dialog, const char* name, const QString& value) {
        QLineEdit* edit = child<QLineEdit>(dialog, name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, value);
    }
    static void click(QDialog& dialog, const char* name) {
        child<QAbstractButton>(dialog, name)->click();
    }

    test::TempDir dir;
    AnimationSnapshot snapshot = test::twoSegmentModel();
    QString modelPath = QString::fromStdString(dir.path("drawing.rkm").string());
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
    EXPECT_EQ(child<QLineEdit>(*gif, "pathEdit")->text(),
              QString::fromStdString(dir.path("drawing.gif").string()));
    EXPECT_TRUE(child<QRadioButton>(*gif, "vtrButton")->isChecked());
    EXPECT_TRUE(child<QLineEdit>(*gif, "waitEdit")->isEnabled());
    EXPECT_EQ(child<QLineEdit>(*gif, "waitEdit")->text(), "7");
    EXPECT_EQ(child<QSlider>(*gif, "smoothnessSlider")->value(), 3);
    EXPECT_EQ(child<QSlider>(*gif, "smoothnessSlider")->maximum(), 12);
    EXPECT_EQ(text(*gif, "canvasWidthLabel"), "800");
    EXPECT_EQ(child<QLineEdit>(*gif, "heightEdit")->text(), "600");
    EXPECT_TRUE(child<QRadioButton>(*gif, "antiAliasOnButton")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(*gif, "transparentBox")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(*gif, "transparentBox")->isEnabled());
    EXPECT_EQ(text(*gif, "statusLabel"), qs("上記内容を確認し、「作成」ボタンを押してください。"));
    EXPECT_EQ(gif->font().pointSize(), 9);
    EXPECT_GE(gif->width(), 300);
    EXPECT_GT(gif->height(), gif->width());

    // A remembered still image opens the GIF dialog on the wobble and is forgotten.
    settings.kind = ExportKind::Still;
    modelPath.clear();  // a model without a file yet
    auto second = open<GifExportDialog>();
    EXPECT_TRUE(child<QRadioButton>(*second, "wobbleButton")->isChecked());
    EXPECT_FALSE(child<QLineEdit>(*second, "waitEdit")->isEnabled());
    EXPECT_EQ(settings.kind, ExportKind::Wobble);
    EXPECT_TRUE(child<QLineEdit>(*second, "pathEdit")->text().isEmpty());

    settings.kind = ExportKind::Still;
    modelPath = QString::fromStdString(dir.path("drawing.rkm").string());
    auto bmp = open<BmpExportDialog>();
    EXPECT_EQ(bmp->windowTitle(), qs("連番BMPファイルの作成"));
    EXPECT_TRUE(child<QRadioButton>(*bmp, "stillButton")->isChecked());
    EXPECT_FALSE(child<QLineEdit>(*bmp, "waitEdit")->isEnabled());
    EXPECT_EQ(child<QLineEdit>(*bmp, "pathEdit")->text(),
              QString::fromStdString(dir.path("drawing.bmp").string()));
    EXPECT_EQ(bmp->findChild<QCheckBox*>("transparentBox"), nullptr);
}

TEST_F(ExportDialogTest, EstimatesFramesAndMegabytesLive) {
    auto gif = open<GifExportDialog>();
    EXPECT_EQ(text(*gif, "frameEstimate"), "5");
    click(*gif, "vtrButton");
    EXPECT_TRUE(child<QLineEdit>(*gif, "waitEdit")->isEnabled());
    child<QSlider>(*gif, "smoothnessSlider")->setValue(6);
    EXPECT_EQ(text(*gif, "frameEstimate"), "53");
    setEdit(*gif, "waitEdit", "");
    EXPECT_EQ(text(*gif, "frameEstimate"), "***");
    setEdit(*gif, "waitEdit", "2147483648");
    EXPECT_EQ(text(*gif, "frameEstimate"), "***");
    click(*gif, "wobbleButton");
    EXPECT_EQ(text(*gif, "frameEstimate"), "5");
    EXPECT_FALSE(child<QLineEdit>(*gif, "waitEdit")->isEnabled());

    auto bmp = open<BmpExportDialog>();
    EXPECT_EQ(text(*bmp, "sizeEstimate"), "     2.289");  // 800 x 600 x 5 bytes
    setEdit(*bmp, "widthEdit", "abc");
    EXPECT_EQ(text(*bmp, "frameEstimate"), "***");
    EXPECT_EQ(text(*bmp, "sizeEstimate"), "***");
    setEdit(*bmp, "widthEdit", "0");
    EXPECT_EQ(text(*bmp, "sizeEstimate"), "     0.000");
    click(*bmp, "stillButton");
    click(*bmp, "originalSizeButton");
    EXPECT_EQ(text(*bmp, "frameEstimate"), "1");
    EXPECT_EQ(text(*bmp, "sizeEstimate"), "     0.458");
}

TEST_F(ExportDialogTest, KeepsTheRatioOnlyForTheEditBeingTypedInto) {
    auto gif = open<GifExportDialog>();
    type(*gif, "widthEdit", "400");
    EXPECT_EQ(child<QLineEdit>(*gif, "heightEdit")->text(), "300");
    type(*gif, "heightEdit", "301");
    EXPECT_EQ(child<QLineEdit>(*gif, "widthEdit")->text(), "401");  // 401.33 truncated
    // Text that is not a number leaves the other edit alone.
    type(*gif, "heightEdit", "x");
    EXPECT_EQ(child<QLineEdit>(*gif, "widthEdit")->text(), "401");
    click(*gif, "originalSizeButton");
    EXPECT_EQ(child<QLineEdit>(*gif, "widthEdit")->text(), "800");
    EXPECT_EQ(child<QLineEdit>(*gif, "heightEdit")->text(), "600");

    click(*gif, "antiAliasOnButton");
    EXPECT_FALSE(child<QCheckBox>(*gif, "transparentBox")->isEnabled());
    click(*gif, "antiAliasOffButton");
    EXPECT_TRUE(child<QCheckBox>(*gif, "transparentBox")->isEnabled());
}

TEST_F(ExportDialogTest, RefusesInvalidFieldsAndStaysOpenRememberingNothing) {
    auto gif = open<GifExportDialog>();
    const ExportSettings before = settings;
    auto expectRefusal = [&](ExportErrorCode code) {
        click(*gif, "createButton");
        ASSERT_FALSE(messages.informed.isEmpty());
        EXPECT_EQ(messages.informed.back(), refusal(code));
        EXPECT_EQ(messages.icons.back(), MessageIcon::None);
        EXPECT_EQ(messages.owners.back(), gif.get());
        EXPECT_TRUE(gif->isVisible());
        EXPECT_EQ(settings, before);
    };
    setEdit(*gif, "pathEdit", "");
    expectRefusal(ExportErrorCode::NoPath);
    setEdit(*gif, "pathEdit", QString::fromStdString(dir.path("out.gif").string()));
    click(*gif, "vtrButton");
    setEdit(*gif, "waitEdit", "soon");
    expectRefusal(ExportErrorCode::WaitInvalid);
    setEdit(*gif, "waitEdit", "86401");
    expectRefusal(ExportErrorCode::WaitTooLong);
    setEdit(*gif, "waitEdit", "0");
    setEdit(*gif, "widthEdit", "0");
    expectRefusal(ExportErrorCode::WidthInvalid);
    setEdit(*gif, "widthEdit", "2147483648");
    expectRefusal(ExportErrorCode::WidthInvalid);
    setEdit(*gif, "widthEdit", "20000");
    setEdit(*gif, "heightEdit", "-3");
    expectRefusal(ExportErrorCode::HeightInvalid);
    setEdit(*gif, "heightEdit", "10");
    expectRefusal(ExportErrorCode::SizeTooLarge);
    EXPECT_EQ(dir.entryCount(), 0u);
}

TEST_F(ExportDialogTest, AppendsGifToAnUpperCaseNameAndRemembersAWobbleAsSmoothness12) {
    auto gif = open<GifExportDialog>();
    setEdit(*gif, "pathEdit", QString::fromStdString(dir.path("anim.GIF").string()));
    child<QSlider>(*gif, "smoothnessSlider")->setValue(3);
    setEdit(*gif, "widthEdit", "200");
    setEdit(*gif, "heightEdit", "150");
    bool disabledAfterExport = false;
    gif->setAfterExport([&] {
        disabledAfterExport = !child<QPushButton>(*gif, "createButton")->isEnabled() &&
                              !child<QLineEdit>(*gif, "pathEdit")->isEnabled() &&
                              !child<QSlider>(*gif, "smoothnessSlider")->isEnabled() &&
                              messages.informed.isEmpty();
    });
    ASSERT_TRUE(createAndWait(*gif));
    EXPECT_TRUE(disabledAfterExport);
    EXPECT_FALSE(gif->isVisible());
    EXPECT_FALSE(gif->isExporting());
    EXPECT_EQ(gif->result(), QDialog::Accepted);
    EXPECT_EQ(messages.informed, QStringList{qs("アニメーションGIFファイルを作成しました。")});
    EXPECT_EQ(text(*gif, "statusLabel"), done());
    EXPECT_EQ(child<QProgressBar>(*gif, "progressBar")->value(), 5);

    test::DecodedGif decoded = test::decodeGif(dir.path("anim.GIF.gif"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->ImageCount, 5);
    EXPECT_EQ(decoded->SWidth, 200);
    EXPECT_FALSE(std::filesystem::exists(dir.path("anim.GIF")));
    EXPECT_EQ(settings, (ExportSettings{ExportKind::Wobble, 5, 12, false, false}));
}

TEST_F(ExportDialogTest, AsksBeforeOverwritingTheFileThatWillBeWritten) {
    const auto target = dir.path("anim.gif");
    std::ofstream(target) << "old";
    auto gif = open<GifExportDialog>();
    setEdit(*gif, "pathEdit", QString::fromStdString(target.string()));
    click(*gif, "createButton");
    ASSERT_EQ(messages.questions.size(), 1);
    EXPECT_EQ(messages.questions[0],
              qs("「%1」\nこのファイルはすでに存在します。\n上書きしますか？")
                  .arg(QString::fromStdString(target.string())));
    EXPECT_TRUE(gif->isVisible());  // No keeps the dialog and the file
    EXPECT_EQ(std::filesystem::file_size(target), 3u);
    messages.answerYes = true;
    ASSERT_TRUE(createAndWait(*gif));
    EXPECT_TRUE(test::decodeGif(target));

    // BMP: the base name itself is never written, the first numbered file is.
    std::ofstream(dir.path("series")) << "unrelated";
    messages.questions.clear();
    messages.answerYes = false;
    auto bmp = open<BmpExportDialog>();
    setEdit(*bmp, "pathEdit", QString::fromStdString(dir.path("series.bmp").string()));
    setEdit(*bmp, "widthEdit", "80");
    setEdit(*bmp, "heightEdit", "60");
    ASSERT_TRUE(createAndWait(*bmp));
    EXPECT_TRUE(messages.questions.isEmpty());
    EXPECT_TRUE(std::filesystem::exists(dir.path("series0004.bmp")));
    EXPECT_FALSE(std::filesystem::exists(dir.path("series0000.bmp.bmp")));

    auto again = open<BmpExportDialog>();
    setEdit(*again, "pathEdit", QString::fromStdString(dir.path("series").string()));
    click(*again, "createButton");
    ASSERT_EQ(messages.questions.size(), 1);
    EXPECT_TRUE(messages.questions[0].contains(
        QString::fromStdString(dir.path("series0000.bmp").string())));
    EXPECT_TRUE(again->isVisible());

    // A still image is asked about its one file.
    std::ofstream(dir.path("still.bmp")) << "old";
    auto still = open<BmpExportDialog>();
    click(*still, "stillButton");
    setEdit(*still, "pathEdit", QString::fromStdString(dir.path("still.bmp").string()));
    click(*still, "createButton");
    ASSERT_EQ(messages.questions.size(), 2);
    EXPECT_TRUE(
        messages.questions[1].contains(QString::fromStdString(dir.path("still.bmp").string())));
}

TEST_F(ExportDialogTest, CancelRemembersTheChoicesWithAnInvalidWaitAsFive) {
    auto gif = open<GifExportDialog>();
    click(*gif, "vtrButton");
    setEdit(*gif, "waitEdit", "12");
    child<QSlider>(*gif, "smoothnessSlider")->setValue(4);
    click(*gif, "antiAliasOnButton");
    click(*gif, "cancelButton");
    EXPECT_FALSE(gif->isVisible());
    EXPECT_EQ(settings, (ExportSettings{ExportKind::Vtr, 12, 4, true, false}));
    auto next = open<GifExportDialog>();
    EXPECT_EQ(child<QLineEdit>(*next, "waitEdit")->text(), "12");
    EXPECT_EQ(child<QSlider>(*next, "smoothnessSlider")->value(), 4);

    settings.transparent = true;
    auto bmp = open<BmpExportDialog>();
    click(*bmp, "stillButton");
    setEdit(*bmp, "waitEdit", "later");
    bmp->reject();  // Escape and the close box cancel too
    EXPECT_EQ(settings.kind, ExportKind::Still);
    EXPECT_EQ(settings.waitSeconds, 5);
    EXPECT_FALSE(settings.transparent);
    EXPECT_TRUE(messages.informed.isEmpty());
}

TEST_F(ExportDialogTest, ReportsAFailedExportToTheMainWindowAndCloses) {
    auto gif = open<GifExportDialog>();
    setEdit(*gif, "pathEdit", QString::fromStdString(dir.path("no/such/folder/a.gif").string()));
    setEdit(*gif, "widthEdit", "100");
    setEdit(*gif, "heightEdit", "75");
    ASSERT_TRUE(createAndWait(*gif));
    ASSERT_EQ(messages.informed.size(), 2);
    EXPECT_TRUE(messages.informed[0].contains(qs("書き込めませんでした")));
    EXPECT_EQ(messages.icons[0], MessageIcon::Error);
    EXPECT_EQ(messages.owners[0], &mainWindow);
    EXPECT_EQ(messages.informed[1], qs("アニメーションGIFファイルの作成に失敗しました。"));
    EXPECT_NE(text(*gif, "statusLabel"), done());
    EXPECT_FALSE(gif->isVisible());
    EXPECT_EQ(gif->result(), QDialog::Accepted);
    EXPECT_EQ(settings.kind, ExportKind::Wobble);  // remembered all the same
}

TEST_F(ExportDialogTest, TheExportRunsOnWhileTheDialogIsLockedButForStop) {
    auto bmp = open<BmpExportDialog>();
    setEdit(*bmp, "pathEdit", QString::fromStdString(dir.path("frames").string()));
    click(*bmp, "vtrButton");
    setEdit(*bmp, "waitEdit", "3");
    setEdit(*bmp, "widthEdit", "160");
    setEdit(*bmp, "heightEdit", "120");
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
    for (const char* name :
         {"pathEdit", "browseButton", "stillButton", "wobbleButton", "vtrButton", "waitEdit",
          "smoothnessSlider", "widthEdit", "heightEdit", "originalSizeButton", "antiAliasOnButton",
          "antiAliasOffButton", "createButton"}) {
        EXPECT_FALSE(child<QWidget>(*bmp, name)->isEnabled()) << name;
    }
    // Cancel has become Stop, the one control left.
    EXPECT_TRUE(child<QPushButton>(*bmp, "cancelButton")->isEnabled());
    EXPECT_EQ(child<QPushButton>(*bmp, "cancelButton")->text(), qs("中止"));

    // The dialog's event loop goes on; the bar follows the worker frame by frame.
    ASSERT_TRUE(closed.count() > 0 || closed.wait(60000));
    ASSERT_EQ(steps.size(), 75u);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].first, static_cast<int>(i + 1));
        EXPECT_EQ(steps[i].second, messages::exportStage(ExportStage::CreatingImages)) << i;
    }
    EXPECT_EQ(bar->maximum(), 75);

    EXPECT_EQ(afterExport, 1);
    EXPECT_EQ(messages.informed, QStringList{qs("連番BMPファイルを作成しました。")});
    EXPECT_EQ(text(*bmp, "statusLabel"), done());
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
    for (const Case& c : {Case{"anim.webp", 1, 0}, Case{"anim.png", 20, 1}, Case{"anim.gif", 41, 2},
                          Case{"anim.webp", 41, 0}}) {
        SCOPED_TRACE(std::string(c.name) + " at frame " + std::to_string(c.frame));
        const ExportSettings before = settings;
        auto dialog = open<GifExportDialog>();
        dialog->setEngine(holdingEngine(c.frame));
        setEdit(*dialog, "pathEdit", QString::fromStdString(dir.path(c.name).string()));
        click(*dialog, "vtrButton");
        setEdit(*dialog, "waitEdit", "1");
        setEdit(*dialog, "widthEdit", "120");
        setEdit(*dialog, "heightEdit", "90");
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
        EXPECT_EQ(text(*dialog, "statusLabel"), qs("中止しました。"));
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(child<QPushButton>(*dialog, "createButton")->isEnabled());
        EXPECT_TRUE(child<QLineEdit>(*dialog, "waitEdit")->isEnabled());
        EXPECT_EQ(child<QPushButton>(*dialog, "cancelButton")->text(), qs("キャンセル"));
        EXPECT_TRUE(messages.informed.isEmpty());
        EXPECT_EQ(test::entriesIn(dir.path(".")), 0u);
        EXPECT_EQ(settings, before);
    }
}

TEST_F(ExportDialogTest, TheNameEnteredPicksTheFormat) {
    auto animation = open<GifExportDialog>();
    setEdit(*animation, "pathEdit", QString::fromStdString(dir.path("anim.webp").string()));
    setEdit(*animation, "widthEdit", "80");
    setEdit(*animation, "heightEdit", "60");
    click(*animation, "antiAliasOnButton");
    // WebP and APNG keep smoothed edges as alpha; a GIF cannot.
    EXPECT_TRUE(child<QCheckBox>(*animation, "transparentBox")->isEnabled());
    setEdit(*animation, "pathEdit", QString::fromStdString(dir.path("anim").string()));
    EXPECT_FALSE(child<QCheckBox>(*animation, "transparentBox")->isEnabled());
    setEdit(*animation, "pathEdit", QString::fromStdString(dir.path("anim.apng").string()));
    EXPECT_TRUE(child<QCheckBox>(*animation, "transparentBox")->isEnabled());
    child<QCheckBox>(*animation, "transparentBox")->setChecked(true);
    ASSERT_TRUE(createAndWait(*animation));
    EXPECT_EQ(messages.informed, QStringList{qs("APNGファイルを作成しました。")});
    const auto apng = test::decodeApng(dir.path("anim.apng"));
    ASSERT_TRUE(apng.has_value());
    EXPECT_EQ(apng->frames.size(), 5u);
    EXPECT_EQ(apng->frames[0].at(0, 0), 0u);  // transparent background

    messages.informed.clear();
    auto webp = open<GifExportDialog>();
    setEdit(*webp, "pathEdit", QString::fromStdString(dir.path("anim.webp").string()));
    setEdit(*webp, "widthEdit", "80");
    setEdit(*webp, "heightEdit", "60");
    ASSERT_TRUE(createAndWait(*webp));
    EXPECT_EQ(messages.informed, QStringList{qs("アニメーションWebPファイルを作成しました。")});
    EXPECT_TRUE(test::decodeWebp(dir.path("anim.webp")).has_value());

    // The numbered dialog: a PNG set, and the still image as SVG.
    messages.informed.clear();
    auto png = open<BmpExportDialog>();
    setEdit(*png, "pathEdit", QString::fromStdString(dir.path("set.png").string()));
    setEdit(*png, "widthEdit", "80");
    setEdit(*png, "heightEdit", "60");
    ASSERT_TRUE(createAndWait(*png));
    EXPECT_EQ(messages.informed, QStringList{qs("連番PNGファイルを作成しました。")});
    EXPECT_TRUE(test::decodePng(dir.path("set0004.png")).has_value());

    messages.informed.clear();
    auto svg = open<BmpExportDialog>();
    setEdit(*svg, "pathEdit", QString::fromStdString(dir.path("drawing.svg").string()));
    click(*svg, "createButton");  // the wobble is no still image
    EXPECT_EQ(messages.informed, QStringList{refusal(ExportErrorCode::SvgNotStill)});
    messages.informed.clear();
    click(*svg, "stillButton");
    ASSERT_TRUE(createAndWait(*svg));
    EXPECT_EQ(messages.informed, QStringList{qs("SVGファイルを作成しました。")});
    EXPECT_NE(test::readBytes(dir.path("drawing.svg")).find("<path d=\"M50 100"),
              std::string::npos);
}

TEST_F(ExportDialogTest, AFolderAsTheNameIsRefusedAndTheDialogStays) {
    std::filesystem::create_directory(dir.path("folder.gif"));
    auto gif = open<GifExportDialog>();
    setEdit(*gif, "pathEdit", QString::fromStdString(dir.path("folder.gif").string()));
    click(*gif, "createButton");
    ASSERT_EQ(messages.informed.size(), 1);
    EXPECT_TRUE(messages.informed[0].contains(qs("フォルダーの名前です")));
    setEdit(*gif, "pathEdit", QString::fromStdString(dir.path("folder.gif").string()) + "/");
    click(*gif, "createButton");
    ASSERT_EQ(messages.informed.size(), 2);
    EXPECT_TRUE(messages.informed[1].contains(qs("フォルダーの名前です")));
    EXPECT_TRUE(gif->isVisible());
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST_F(ExportDialogTest, ExportsTheSnapshotItWasGivenWhateverHappensToTheOriginal) {
    auto bmp = open<BmpExportDialog>();
    snapshot.vertices.clear();  // the editor goes on after opening the dialog
    snapshot.properties.backgroundColor = {1, 2, 3};
    click(*bmp, "stillButton");
    setEdit(*bmp, "pathEdit", QString::fromStdString(dir.path("still").string()));
    EXPECT_EQ(text(*bmp, "frameEstimate"), "1");
    ASSERT_TRUE(createAndWait(*bmp));
    ASSERT_TRUE(std::filesystem::exists(dir.path("still.bmp")));
    if (!test::imageMagickAvailable())
        GTEST_SKIP() << "ImageMagick is not installed";
    const auto rgb = test::decodeRgb(dir.path("still.bmp"));
    ASSERT_TRUE(rgb.has_value());
    ASSERT_EQ(rgb->size(), 800u * 600u * 3u);
    // The standard background, and the first segment's line on row 100.
    EXPECT_EQ((*rgb)[0], 238);
    EXPECT_EQ((*rgb)[(100 * 800 + 400) * 3], 0);
}

TEST_F(ExportDialogTest, BrowseAsksTheShellsChooserAndTakesItsAnswer) {
    auto bmp = open<BmpExportDialog>();
    chosenPath = ChosenFile{QStringLiteral("/somewhere/frames.bmp"), 0};
    click(*bmp, "browseButton");
    ASSERT_EQ(chooserRequests.size(), 1u);
    EXPECT_EQ(chooserRequests[0].title, qs("連番BMPファイルの保存"));
    ASSERT_EQ(chooserRequests[0].filters.size(), 3u);
    EXPECT_EQ(chooserRequests[0].filters[0].name, qs("BMPファイル(*.bmp)"));
    EXPECT_EQ(chooserRequests[0].filters[1].name, qs("PNGファイル(*.png)"));
    EXPECT_EQ(chooserRequests[0].filters[2].name, qs("SVGファイル(*.svg)"));
    EXPECT_EQ(chooserRequests[0].currentPath,
              QString::fromStdString(dir.path("drawing.bmp").string()));
    EXPECT_EQ(child<QLineEdit>(*bmp, "pathEdit")->text(), "/somewhere/frames.bmp");
    chosenPath.reset();
    click(*bmp, "browseButton");
    EXPECT_EQ(child<QLineEdit>(*bmp, "pathEdit")->text(), "/somewhere/frames.bmp");
    // A name without an extension gets the one of the type chosen.
    chosenPath = ChosenFile{QStringLiteral("/somewhere/frames"), 1};
    click(*bmp, "browseButton");
    EXPECT_EQ(child<QLineEdit>(*bmp, "pathEdit")->text(), "/somewhere/frames.png");

    auto gif = open<GifExportDialog>();
    chosenPath = ChosenFile{QStringLiteral("/somewhere/anim"), 1};
    click(*gif, "browseButton");
    const std::vector<ChooserFilter>& filters = chooserRequests.back().filters;
    ASSERT_EQ(filters.size(), 3u);
    EXPECT_EQ(filters[0].name, qs("GIFファイル(*.gif)"));
    EXPECT_EQ(filters[1].name, qs("WebPファイル(*.webp)"));
    EXPECT_EQ(filters[2].name, qs("APNGファイル(*.apng *.png)"));
    EXPECT_EQ(child<QLineEdit>(*gif, "pathEdit")->text(), "/somewhere/anim.webp");
    // A name with an extension of its own keeps it.
    chosenPath = ChosenFile{QStringLiteral("/somewhere/anim.gif"), 2};
    click(*gif, "browseButton");
    EXPECT_EQ(child<QLineEdit>(*gif, "pathEdit")->text(), "/somewhere/anim.gif");
}

TEST_F(ExportDialogTest, ValidationMessagesAreCaptionedPlainOkBoxes) {
    auto gif = open<GifExportDialog>();
    gif->setMessages(nullptr);  // the real message boxes
    setEdit(*gif, "pathEdit", "");
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
