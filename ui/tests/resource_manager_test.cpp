// Looking images up in the skin manager: every name of the skin, case,
// null names, and loading on first use. The skin folder is made here from the
// build's images, so the manager takes its first source.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/tests/temp_folder.h"
#include "ui/gdiplus_api.h"
#include "ui/resource_manager.h"

namespace {

using testing_files::TempFolder;

const std::map<std::wstring, std::pair<UINT, UINT>> kSkin = {
    {L"main_bg.png", {1200, 800}},
    {L"install_banner.png", {1200, 600}},
    {L"logo.png", {240, 240}},
    {L"error_icon.png", {60, 60}},
    {L"inquire_icon.png", {60, 60}},
    {L"global_btn_close_normal.png", {32, 32}},
    {L"global_btn_close_hover.png", {32, 32}},
    {L"custom_btn_back_normal.png", {32, 32}},
    {L"custom_btn_back_hover.png", {32, 32}},
    {L"custom_btn_back_press.png", {32, 32}},
    {L"main_checkbox_select.png", {32, 32}},
    {L"main_checkbox_deselect.png", {32, 32}},
    {L"main_word_custom_normal.png", {32, 32}},
    {L"main_word_custom_hover.png", {32, 32}},
    {L"main_word_custom_press.png", {32, 32}},
};

// A work folder whose "images\" holds the built skin.
class UnpackedSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    // The test program lives in build/win/ui/tests/, the images in build/win/res/skin/.
    const std::wstring built = testing_files::OwnFolder() + L"..\\..\\res\\skin\\";
    CreateDirectoryW((work_.Path() + L"images").c_str(), nullptr);
    for (const auto& [name, size] : kSkin)
      ASSERT_TRUE(CopyFileW((built + name).c_str(), (work_.Path() + L"images\\" + name).c_str(), FALSE));
    manager_ = CreateResourceManager(work_.Path(), nullptr);
    ASSERT_NE(manager_, nullptr);
  }
  void TearDown() override {
    if (manager_) manager_->Release();
  }

  TempFolder work_;
  IResourceMgr* manager_ = nullptr;
};

TEST_F(UnpackedSkin, EveryNameGivesItsImage) {
  EXPECT_EQ(static_cast<CResourceManager*>(manager_)->EntryCount(), kSkinFileCount);
  for (const auto& [name, size] : kSkin) {
    Gdiplus::Image* image = manager_->GetImage(name.c_str());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), size.first);
    EXPECT_EQ(image->GetHeight(), size.second);
    EXPECT_EQ(manager_->GetImage(name.c_str()), image) << "loaded once, then kept";
  }
}

TEST_F(UnpackedSkin, NamesAreExactAndCaseSensitive) {
  for (const wchar_t* name : {L"Logo.png", L"LOGO.PNG", L"logo", L"logo.png ", L"", L"zzz.png", L"a.png"})
    EXPECT_EQ(manager_->GetImage(name), nullptr) << name;
  EXPECT_EQ(manager_->GetImage(nullptr), nullptr);
}

TEST_F(UnpackedSkin, ImagesAreLoadedOnFirstUse) {
  Gdiplus::Image* early = manager_->GetImage(L"logo.png");
  ASSERT_NE(early, nullptr);
  // A loaded image keeps its file open (GDI+ reads it as needed); a file not
  // yet asked for is not open at all.
  EXPECT_FALSE(DeleteFileW((work_.Path() + L"images\\logo.png").c_str()));
  ASSERT_TRUE(DeleteFileW((work_.Path() + L"images\\main_bg.png").c_str()));
  EXPECT_EQ(manager_->GetImage(L"logo.png")->GetWidth(), 240u);
  Gdiplus::Image* late = manager_->GetImage(L"main_bg.png");
  ASSERT_NE(late, nullptr) << "an image object even for a file that is gone";
  EXPECT_EQ(late->GetWidth(), 0u) << "whose picture is empty";
}

}  // namespace
