#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>

#include "export/export_dialog_rules.h"
#include "export/export_limits.h"
#include "export/export_plan.h"
#include "export/output_files.h"
#include "export/stretch_copy.h"
#include "export_test_support.h"

namespace rek {
namespace {

constexpr std::uint64_t kPlenty = std::numeric_limits<std::uint64_t>::max();

TEST(ExportFrameCount, FollowsTheKindAndTheVtrFormulaWithoutDividingByZeroOrWrapping) {
    // Wobble is 5 and a still is 1, whatever the wait says.
    EXPECT_EQ(exportFrameCount(ExportKind::Wobble, 1000.7, 40, 2000000000, 6), 5u);
    EXPECT_EQ(exportFrameCount(ExportKind::Still, 1000.7, 40, 5, 12), 1u);
    // step = 40 * 12 / 6 = 80; 1000 / 80 + 5 * 100 / 12 = 12 + 41.
    EXPECT_EQ(vtrExportStep(40, 12), 80);
    EXPECT_EQ(exportFrameCount(ExportKind::Vtr, 1000.7, 40, 5, 12), 53u);
    EXPECT_EQ(exportFrameCount(ExportKind::Vtr, 79.9, 40, 0, 12), 0u);
    // The model's own length goes in the same way.
    const AnimationSnapshot snapshot = test::twoSegmentModel();
    ExportRequest request;
    request.kind = ExportKind::Vtr;
    request.delay = 12;
    EXPECT_EQ(exportFrameCount(snapshot, request), 53u);
    // Never a division by zero, never a wrap.
    EXPECT_EQ(vtrExportStep(1, 5), 1);  // 5 / 6 would be a step of 0
    EXPECT_EQ(vtrExportStep(0, 6), 1);
    EXPECT_EQ(vtrExportStep(kMaxVtrSpeed, 18), 3000000);
    // Longer than the 32-bit replay position: measured up to its end.
    EXPECT_EQ(exportFrameCount(ExportKind::Vtr, 1e12, 1, 0, 6), 4294967295u);
    EXPECT_EQ(exportFrameCount(ExportKind::Vtr, 0.0, 40, 2147483647, 6), 35791394116u);
}

class ValidateExport : public ::testing::Test {
  protected:
    ValidateExport() {
        request.path = "/tmp/out.gif";
        request.width = 800;
        request.height = 600;
    }
    ExportValidation validate(ExportTarget target = ExportTarget::Gif,
                              std::uint64_t budget = kPlenty) {
        return validateExport(target, request, snapshot, budget);
    }
    // What was refused, or nothing when a plan came out.
    std::optional<ExportError> refusal(ExportTarget target, std::uint64_t budget = kPlenty) {
        const ExportValidation checked = validate(target, budget);
        if (const ExportError* refused = std::get_if<ExportError>(&checked))
            return *refused;
        return std::nullopt;
    }
    std::optional<ExportErrorCode> check(ExportTarget target = ExportTarget::Gif,
                                         std::uint64_t budget = kPlenty) {
        const std::optional<ExportError> refused = refusal(target, budget);
        return refused ? std::optional(refused->code) : std::nullopt;
    }
    AnimationSnapshot snapshot = test::twoSegmentModel();
    ExportRequest request;
};

// Each row changes the request (or the model) from the last and says what each target makes
// of it: the code it is refused with, or nothing for a plan.
TEST_F(ValidateExport, RefusesWhatTheBoundsAndEachFormatCannotHold) {
    using C = ExportErrorCode;
    using T = ExportTarget;
    struct Row {
        std::function<void(ExportRequest&, AnimationSnapshot&)> change;
        std::vector<std::pair<T, std::optional<C>>> expected;
    };
    const std::vector<Row> rows = {
        {[](auto& r, auto&) { r.width = 0; }, {{T::Gif, C::WidthInvalid}}},
        {[](auto& r, auto&) { r.width = 800, r.height = -1; }, {{T::Gif, C::HeightInvalid}}},
        {[](auto& r, auto&) { r.height = 16385; }, {{T::Gif, C::SizeTooLarge}}},
        // Each side fits, the area does not; and sizes whose product overflows.
        {[](auto& r, auto&) { r.width = r.height = 16384; }, {{T::Gif, C::SizeTooLarge}}},
        {[](auto& r, auto&) { r.width = r.height = 2147483647; }, {{T::Bmp, C::SizeTooLarge}}},
        // WebP stores 14 bits a side.
        {[](auto& r, auto&) { r.width = 16383, r.height = 4; }, {{T::Webp, std::nullopt}}},
        {[](auto& r, auto&) { r.width = 16384; },
         {{T::Webp, C::WebpSizeTooLarge}, {T::Apng, std::nullopt}}},
        {[](auto& r, auto&) { r.width = 80, r.kind = ExportKind::Vtr; }, {}},
        {[](auto& r, auto&) { r.waitSeconds = kMaxExportWaitSeconds + 1; },
         {{T::Gif, C::WaitTooLong}}},
        {[](auto& r, auto&) { r.waitSeconds = -1; }, {{T::Gif, C::WaitInvalid}}},
        // A wobble export ignores the wait entirely.
        {[](auto& r, auto&) { r.kind = ExportKind::Wobble, r.waitSeconds = 2147483647; },
         {{T::Gif, std::nullopt}}},
        {[](auto& r, auto&) { r.kind = ExportKind::Still, r.waitSeconds = 0; },
         {{T::Gif, C::StillAsGif},
          {T::Webp, C::StillAsAnimation},
          {T::Apng, C::StillAsAnimation},
          {T::Bmp, std::nullopt},
          {T::Svg, std::nullopt}}},
        {[](auto& r, auto&) { r.kind = ExportKind::Vtr; }, {{T::Svg, C::SvgNotStill}}},
        {[](auto& r, auto&) { r.transparent = true; },
         {{T::Bmp, C::NoTransparency}, {T::Png, std::nullopt}}},
        {[](auto& r, auto&) { r.transparent = false, r.webpQuality = 100; },
         {{T::Webp, std::nullopt}, {T::Gif, C::QualityInvalid}}},
        {[](auto& r, auto&) { r.webpQuality = 101; }, {{T::Webp, C::QualityInvalid}}},
        {[](auto& r, auto&) { r.webpQuality = -1; }, {{T::Webp, C::QualityInvalid}}},
        // A replay shorter than one step with no wait has no frames: an empty set is fine.
        {[](auto& r, auto& s) { r.webpQuality.reset(), s = test::shortLineModel(30); },
         {{T::Gif, C::NoGifFrames},
          {T::Webp, C::NoAnimationFrames},
          {T::Apng, C::NoAnimationFrames},
          {T::Png, std::nullopt},
          {T::Bmp, std::nullopt}}},
        {[](auto& r, auto&) { r.delay = 19; }, {{T::Bmp, C::DelayInvalid}}},
        {[](auto& r, auto&) { r.path.clear(); }, {{T::Bmp, C::NoPath}}},
        {[](auto& r, auto&) { r.path = "/tmp/out", r.kind = static_cast<ExportKind>(7); },
         {{T::Bmp, C::KindInvalid}}},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].change(request, snapshot);
        for (const auto& [target, code] : rows[i].expected)
            EXPECT_EQ(check(target), code) << "row " << i << ", target " << int(target);
    }

    // A day of wait at 6 hundredths a frame: 1 440 000 frames, and 25 of the replay.
    request = {};
    request.path = "/tmp/out.gif";
    request.width = 800;
    request.height = 600;
    request.kind = ExportKind::Vtr;
    request.waitSeconds = kMaxExportWaitSeconds;
    snapshot = test::twoSegmentModel();
    const std::optional<ExportError> tooMany = refusal(ExportTarget::Bmp);
    ASSERT_TRUE(tooMany.has_value());
    EXPECT_EQ(tooMany->code, ExportErrorCode::TooManyFrames);
    EXPECT_EQ(tooMany->frames, 1440025u);
}

TEST_F(ValidateExport, ComparesTheFramesHeldInMemoryWithTheBudget) {
    request.kind = ExportKind::Vtr;
    request.delay = 6;
    request.waitSeconds = 600;  // 10 000 frames of 800 x 600
    const std::uint64_t frames = exportFrameCount(snapshot, request);
    // WebP keeps every frame compressed until the file is put together.
    const std::uint64_t needed =
        exportMemoryEstimate(ExportTarget::Webp, request, snapshot.properties, frames);
    EXPECT_GT(needed, frames * 800 * 600 / 16);
    const std::optional<ExportError> refused = refusal(ExportTarget::Webp, needed - 1);
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->code, ExportErrorCode::NotEnoughMemory);
    EXPECT_EQ(refused->neededBytes, needed);
    EXPECT_EQ(refused->availableBytes, needed - 1);
    EXPECT_EQ(check(ExportTarget::Webp, needed), std::nullopt);
    // GIF, APNG and numbered files hold a frame or two at a time, however many there are.
    for (ExportTarget streamed : {ExportTarget::Gif, ExportTarget::Apng, ExportTarget::Bmp}) {
        EXPECT_EQ(check(streamed, 64u << 20), std::nullopt);
        EXPECT_EQ(check(streamed, 1u << 20), ExportErrorCode::NotEnoughMemory);
    }
    EXPECT_GT(availableMemoryBytes(), 0u);
}

TEST_F(ValidateExport, RefusesFoldersAndNamesTheFileSystemCannotHold) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.path("folder"));
    // A name that ends in a slash, for a file or a set's base name alike.
    request.path = dir.path("folder").string() + "/";
    for (const ExportTarget target : {ExportTarget::Gif, ExportTarget::Bmp, ExportTarget::Png}) {
        const auto refused = refusal(target);
        ASSERT_TRUE(refused.has_value());
        EXPECT_EQ(refused->code, ExportErrorCode::OutputIsFolder);
        EXPECT_EQ(refused->path, request.path);
    }
    // A folder of that name.
    request.path = dir.path("folder").string();
    EXPECT_EQ(check(ExportTarget::Webp), ExportErrorCode::OutputIsFolder);
    EXPECT_EQ(check(ExportTarget::Bmp), std::nullopt);  // folder0000.bmp beside it is fine
    std::filesystem::create_directory(dir.path("set0000.png"));
    request.path = dir.path("set").string();
    const auto firstIsFolder = refusal(ExportTarget::Png);
    ASSERT_TRUE(firstIsFolder.has_value());
    EXPECT_EQ(firstIsFolder->path, dir.path("set0000.png").string());

    // Names longer than the folder takes (255 bytes), counting the number and extension.
    request.path = dir.path(std::string(251, 'n')).string();
    EXPECT_EQ(check(ExportTarget::Gif), std::nullopt);                  // the name as it stands
    EXPECT_EQ(check(ExportTarget::Bmp), ExportErrorCode::PathTooLong);  // + "0000.bmp"
    request.path = dir.path(std::string(247, 'n')).string();
    EXPECT_EQ(check(ExportTarget::Bmp), std::nullopt);
    request.kind = ExportKind::Vtr;
    request.waitSeconds = 86400;
    request.delay = 6;  // 1 440 016 frames: refused for their number before the name
    EXPECT_EQ(check(ExportTarget::Bmp), ExportErrorCode::TooManyFrames);
    request.waitSeconds = 700;  // 11 691 frames: the last is BASE11690.bmp, one byte longer
    EXPECT_EQ(check(ExportTarget::Bmp), ExportErrorCode::PathTooLong);
    request.path = std::string(5000, 'p');
    EXPECT_EQ(check(ExportTarget::Gif), ExportErrorCode::PathTooLong);
}

TEST(OutputNames, TheDialogsPickTheFormatByTheExactExtension) {
    struct Case {
        OutputChoice (*rule)(const QString&);
        const char* entered;
        ExportTarget target;
        const char* path;
    };
    for (const Case& c : {Case{animationOutput, "a", ExportTarget::Gif, "a.gif"},
                          Case{animationOutput, "a.GIF", ExportTarget::Gif, "a.GIF.gif"},
                          Case{animationOutput, "a.webp", ExportTarget::Webp, "a.webp"},
                          Case{animationOutput, "a.WEBP", ExportTarget::Gif, "a.WEBP.gif"},
                          Case{animationOutput, "a.png", ExportTarget::Apng, "a.png"},
                          Case{animationOutput, "a.bmp", ExportTarget::Gif, "a.bmp.gif"},
                          // Kept, to be refused as a folder.
                          Case{animationOutput, "dir/", ExportTarget::Gif, "dir/"},
                          Case{numberedOutput, "f.bmp", ExportTarget::Bmp, "f"},
                          Case{numberedOutput, "f.png", ExportTarget::Png, "f"},
                          Case{numberedOutput, "f.svg", ExportTarget::Svg, "f.svg"},
                          Case{numberedOutput, "f.webp", ExportTarget::Bmp, "f.webp"}}) {
        const OutputChoice choice = c.rule(QString::fromUtf8(c.entered));
        EXPECT_EQ(choice.target, c.target) << c.entered;
        EXPECT_EQ(choice.path, QString::fromUtf8(c.path)) << c.entered;
    }
}

TEST(OutputNames, TheChooserAndTheCommandLineAddTheFormatsExtensionOnlyWhereItIsMissing) {
    EXPECT_EQ(withChosenExtension("a", ExportTarget::Apng, animationOutput), "a.png");
    EXPECT_EQ(withChosenExtension("a.apng", ExportTarget::Webp, animationOutput), "a.apng");
    EXPECT_EQ(withChosenExtension("f", ExportTarget::Svg, numberedOutput), "f.svg");
    EXPECT_EQ(withChosenExtension("f.bmp", ExportTarget::Png, numberedOutput), "f.bmp");
    EXPECT_EQ(outputPathFor(ExportTarget::Webp, "a.webp"), "a.webp");
    EXPECT_EQ(outputPathFor(ExportTarget::Apng, "a"), "a.png");
    EXPECT_EQ(outputPathFor(ExportTarget::Png, "f.png"), "f");
    EXPECT_EQ(outputPathFor(ExportTarget::Svg, "d/\xff"), "d/\xff.svg");
    EXPECT_EQ(outputPathFor(ExportTarget::Gif, "d/"), "d/");
    EXPECT_EQ(numberedFileName("f", ExportKind::Vtr, 10000, ".png"), "f10000.png");
    EXPECT_EQ(numberedFileName("f", ExportKind::Still, 0, ".png"), "f.png");
}

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kOrange = 0xEE9C00;
constexpr std::uint32_t kBlack = 0x000000;

// The top-down target, its top bytes clear; one guard word past the end shows a write beyond.
std::vector<std::uint32_t> stretch(const std::vector<std::uint32_t>& source, int stride, int sw,
                                   int sh, int tw, int th) {
    std::vector<std::uint32_t> target(static_cast<std::size_t>(tw) * th + 1, 0xABABABAB);
    stretchCopyAnd(source.data(), static_cast<std::size_t>(stride), sw, sh, target.data(), tw, th);
    EXPECT_EQ(target.back(), 0xABABABABu);
    target.pop_back();
    return target;
}

TEST(StretchCopy, ShrinksByAndingSoThinDarkLinesStay) {
    // A stride wider than the region: the rest of the row is never read.
    EXPECT_EQ(stretch({0xFF123456, 0xFF654321, 0xFFFFFFFF, 0xFF0000FF, 0xFF00FF00, 0xFFFFFFFF}, 3,
                      2, 2, 2, 2),
              (std::vector<std::uint32_t>{0x123456, 0x654321, 0x0000FF, 0x00FF00}));
    // A one-pixel black column at x = 3 and a row at y = 5 on orange, shrunk 8x8 -> 3x2:
    // columns 0..1, 2..4, 5..7; rows 0..3, 4..7.
    std::vector<std::uint32_t> source(64, kOrange);
    for (int i = 0; i < 8; ++i)
        source[i * 8 + 3] = source[5 * 8 + i] = kBlack;
    EXPECT_EQ(stretch(source, 8, 8, 8, 3, 2),
              (std::vector<std::uint32_t>{kOrange, kBlack, kOrange, kBlack, kBlack, kBlack}));
    // Two light colours meet as their AND, never an average.
    EXPECT_EQ(stretch({0xFFF0F0F0, 0xFF0F0FFF}, 2, 2, 1, 1, 1),
              (std::vector<std::uint32_t>{0x0000F0}));
}

TEST(StretchCopy, EnlargesByRepeatingPixelsEachAxisOnItsOwn) {
    // Columns 0..2 come from x 0 (t * 2 / 5), 3..4 from x 1; rows 0..1 from y 0, row 2 from y 1.
    EXPECT_EQ(stretch({kWhite, kBlack, kOrange, kWhite}, 2, 2, 2, 5, 3),
              (std::vector<std::uint32_t>{kWhite, kWhite, kWhite, kBlack, kBlack,  //
                                          kWhite, kWhite, kWhite, kBlack, kBlack,  //
                                          kOrange, kOrange, kOrange, kWhite, kWhite}));
    // 4 x 1 -> 2 x 3: columns pair up by AND, the one row is repeated three times.
    EXPECT_EQ(stretch({kOrange, kBlack, kWhite, kWhite}, 4, 4, 1, 2, 3),
              (std::vector<std::uint32_t>{kBlack, kWhite, kBlack, kWhite, kBlack, kWhite}));
}

}  // namespace
}  // namespace rek
