// The demo level of every format drawn headless from a few viewpoints, compared with stored
// pictures. Set GROTTIX_UPDATE_GOLDEN=1 to write the pictures anew after an intended change.

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <filesystem>

#include "viewer/HeadlessViewer.h"

namespace grottix {
namespace {

struct Viewpoint {
    const char* name;
    const char* level;
    std::optional<TD3DVector> eye, angles;
    bool flipped = false;  // every flip map flipped: the storeroom flooded
};

const Viewpoint kViewpoints[] = {
    {"tr1-hall", "demo-tr1.phd", {}, {}, false},
    {"ub-hall", "demo-ub.tub", {}, {}, false},
    {"tr2-hall", "demo-tr2.tr2", {}, {}, false},
    {"tr3-hall", "demo-tr3.tr2", {}, {}, false},
    {"tr4-hall", "demo-tr4.tr4", {}, {}, false},
    {"trc-hall", "demo-trc.trc", {}, {}, false},
    {"tr4-store", "demo-tr4.tr4", {}, TD3DVector{0, 0.9f, 0}, false},
    {"tr4-sky", "demo-tr4.tr4", TD3DVector{0, -28, 58}, TD3DVector{0.45f, 0.2f, 0}, false},
    {"tr1-plants", "demo-tr1.phd", TD3DVector{-26.5f, -28, 65.5f}, TD3DVector{0, -0.5f, 0}, false},
    {"tr3-plants", "demo-tr3.tr2", TD3DVector{-26.5f, -28, 65.5f}, TD3DVector{0, -0.5f, 0}, false},
    {"tr4-plants", "demo-tr4.tr4", TD3DVector{-26.5f, -28, 65.5f}, TD3DVector{0, -0.5f, 0}, false},
    {"tr4-store-flooded", "demo-tr4.tr4", {}, TD3DVector{0, 0.9f, 0}, true},
    {"tr3-under-water", "demo-tr3.tr2", TD3DVector{36, -20, 0}, TD3DVector{0, 1.2f, 0}, true},
    {"tr2-store-dry", "demo-tr2.tr2", TD3DVector{36, -20, 0}, TD3DVector{0, 1.2f, 0}, false},
};

void PrintTo(const Viewpoint& view, std::ostream* out) { *out << view.name; }

QImage toImage(const TBitmap& picture) {
    return QImage(picture.ScanLine(0), picture.Width(), picture.Height(), picture.BytesPerRow(), QImage::Format_BGR888)
        .copy();
}

// Mean absolute channel difference, and the share of pixels off by more than a small amount.
void compare(const QImage& got, const QImage& want, double& mean, double& offShare) {
    double sum = 0;
    long off = 0;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x) {
            const QRgb a = got.pixel(x, y), b = want.pixel(x, y);
            const int d = std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
            sum += d / 3.0;
            off += d > 48;
        }
    const double pixels = double(want.width()) * want.height();
    mean = sum / pixels;
    offShare = off / pixels;
}

class GoldenPictureTest : public ::testing::TestWithParam<Viewpoint> {};

TEST_P(GoldenPictureTest, DemoLevelLooksAsStored) {
    const Viewpoint& view = GetParam();
    THeadlessViewer viewer(160, 120, 1);
    ASSERT_EQ(viewer.Open(std::string(GROTTIX_GENERATED_DIR) + "/demo/" + view.level), 0);
    if (view.eye) viewer.Scene.SetCameraPosition(*view.eye);
    if (view.angles) viewer.Scene.SetCameraRotation(*view.angles);
    if (view.flipped) viewer.Scene.SetFlipState(TFlipState::All());
    viewer.DrawFrame();
    const QImage got = toImage(viewer.Picture());
    const std::string path = std::string(GROTTIX_TEST_DATA_DIR) + "/golden/" + view.name + ".png";
    if (std::getenv("GROTTIX_UPDATE_GOLDEN")) {
        ASSERT_TRUE(got.save(QString::fromStdString(path)));
        GTEST_SKIP() << "wrote " << path;
    }
    const QImage want(QString::fromStdString(path));
    ASSERT_FALSE(want.isNull()) << "no stored picture " << path;
    ASSERT_EQ(got.size(), want.size());
    double mean = 0, offShare = 0;
    compare(got, want, mean, offShare);
    EXPECT_LT(mean, 2.0) << view.name;
    EXPECT_LT(offShare, 0.01) << view.name;
    if (mean >= 2.0 || offShare >= 0.01) got.save(QString::fromStdString(std::string("/tmp/golden-") + view.name + ".png"));
}

INSTANTIATE_TEST_SUITE_P(Demo, GoldenPictureTest, ::testing::ValuesIn(kViewpoints),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace grottix
