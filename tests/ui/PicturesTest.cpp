#include "ModulixDialogBoxBinImg.h"
#include "ModulixModulationUpperPanelBinImg.h"
#include "ModulixQR7150BinImg.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

namespace
{
struct PictureCase
{
    const char* name;
    const char* data;
    int size;
    int width;
    int height;
    int frames;
};

#define PICTURE(group, name, w, h, frames) PictureCase { #name, group::name, group::name##Size, w, h, frames }

const PictureCase pictureCases[] = {
    PICTURE (ModulixQR7150BinImg, about_png, 325, 455, 1),
    PICTURE (ModulixQR7150BinImg, bg_chorus_png, 325, 454, 1),
    PICTURE (ModulixQR7150BinImg, bypass_png, 90, 396, 4),
    PICTURE (ModulixQR7150BinImg, rate_png, 73, 7272, 101),
    PICTURE (ModulixQR7150BinImg, depth_png, 73, 7272, 101),
    PICTURE (ModulixQR7150BinImg, mix_png, 73, 7272, 101),
    PICTURE (ModulixQR7150BinImg, level_png, 73, 7272, 101),
    PICTURE (ModulixQR7150BinImg, rate_sync_png, 73, 1368, 19),
    PICTURE (ModulixQR7150BinImg, type_png, 48, 240, 3),
    PICTURE (ModulixModulationUpperPanelBinImg, ab_png, 62, 46, 2),
    PICTURE (ModulixModulationUpperPanelBinImg, atob_png, 75, 50, 2),
    PICTURE (ModulixModulationUpperPanelBinImg, btoa_png, 75, 50, 2),
    PICTURE (ModulixModulationUpperPanelBinImg, file_png, 58, 52, 2),
    PICTURE (ModulixModulationUpperPanelBinImg, left_png, 29, 52, 2),
    PICTURE (ModulixModulationUpperPanelBinImg, right_png, 29, 52, 2),
    PICTURE (ModulixModulationUpperPanelBinImg, stereo_png, 54, 44, 2),
    PICTURE (ModulixModulationUpperPanelBinImg, sync_png, 54, 44, 2),
    PICTURE (ModulixDialogBoxBinImg, dialog_box_clean_png, 325, 454, 1),
    PICTURE (ModulixDialogBoxBinImg, file_browser_clean_png, 325, 454, 1),
    PICTURE (ModulixDialogBoxBinImg, browser_textonly_save_as_png, 325, 454, 1),
    PICTURE (ModulixDialogBoxBinImg, browser_textonly_load_png, 325, 454, 1),
    PICTURE (ModulixDialogBoxBinImg, icononly_asterix_png, 325, 454, 1),
    PICTURE (ModulixDialogBoxBinImg, icononly_smile_png, 325, 454, 1),
    PICTURE (ModulixDialogBoxBinImg, icononly_frown_png, 325, 454, 1),
    PICTURE (ModulixDialogBoxBinImg, ok_png, 132, 102, 2),
    PICTURE (ModulixDialogBoxBinImg, cancel_png, 132, 102, 2),
    PICTURE (ModulixDialogBoxBinImg, save_png, 132, 102, 2),
    PICTURE (ModulixDialogBoxBinImg, newfolder_png, 132, 102, 2),
    PICTURE (ModulixDialogBoxBinImg, overwrite_png, 132, 102, 2),
};

#undef PICTURE

bool framesDiffer (const juce::Image& image, int frameHeight, int a, int b)
{
    for (int y = 0; y < frameHeight; ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, a * frameHeight + y) != image.getPixelAt (x, b * frameHeight + y))
                return true;
    return false;
}

class PicturesTest : public ::testing::TestWithParam<PictureCase> {};
} // namespace

TEST_P (PicturesTest, DecodesAtItsSizeWithDistinctNeighbouringFrames)
{
    const auto& picture = GetParam();
    const auto image = juce::ImageFileFormat::loadFrom (picture.data, (size_t) picture.size);

    ASSERT_TRUE (image.isValid()) << picture.name;
    EXPECT_EQ (image.getWidth(), picture.width);
    EXPECT_EQ (image.getHeight(), picture.height);

    const int frameHeight = picture.height / picture.frames;
    for (int frame = 1; frame < picture.frames; ++frame)
        EXPECT_TRUE (framesDiffer (image, frameHeight, frame - 1, frame)) << picture.name << " frame " << frame;
}

INSTANTIATE_TEST_SUITE_P (EmbeddedPictures, PicturesTest, ::testing::ValuesIn (pictureCases),
                          [] (const auto& testInfo) { return std::string (testInfo.param.name); });
