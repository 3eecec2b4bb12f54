#include <gtest/gtest.h>

#include "instance_fixture.h"
#include "instances/instance.h"
#include "support/icon_images.h"

namespace oxlip::test {
namespace {

using CopyInstanceTest = InstanceTest;

TEST_F(CopyInstanceTest, CopyHasItsOwnIconSoEitherCanBeFreedAlone) {
  WritePng(settings_.InstancesDir + "i/icon.png", 3, 2);
  WriteInstanceFile("i", "mods.ini", "a\r\nb\r\n");
  Instance source = Load("i");
  Instance copy;
  CopyInstance(copy, source);
  ASSERT_FALSE(copy.Icon.IsDefault());
  EXPECT_NE(copy.Icon.image(), source.Icon.image());
  EXPECT_EQ(copy.Icon.image()->rgba, source.Icon.image()->rgba);
  EXPECT_EQ(copy.Mods, source.Mods);
  EXPECT_EQ(copy.Folder, "i");

  FreeInstanceIcon(copy);
  EXPECT_EQ(copy.Icon.image(), default_icon_.image());
  ASSERT_FALSE(source.Icon.IsDefault());
  EXPECT_EQ(source.Icon.image()->width, 3);

  CopyInstance(copy, source);
  FreeInstanceIcon(source);
  EXPECT_EQ(source.Icon.image(), default_icon_.image());
  EXPECT_EQ(copy.Icon.image()->width, 3);
}

TEST_F(CopyInstanceTest, TheSharedDefaultIconIsNeverFreed) {
  Instance a = Load("plain");
  Instance b;
  CopyInstance(b, a);
  EXPECT_EQ(b.Icon.image(), default_icon_.image());
  FreeInstanceIcon(a);
  FreeInstanceIcon(b);
  FreeInstanceIcon(b);
  ASSERT_EQ(a.Icon.image(), default_icon_.image());
  EXPECT_EQ(default_icon_.image()->rgba, (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST(InstanceIconTest, WithoutALoadableDefaultThereIsNothingToShow) {
  instances::DefaultIcon none;
  instances::InstanceIcon icon(none);
  EXPECT_EQ(icon.image(), nullptr);
  icon.SetOwn(image::Image{2, 1, std::vector<uint8_t>(8, 9)});
  EXPECT_EQ(icon.image()->width, 2);
  icon.ResetToDefault();
  EXPECT_EQ(icon.image(), nullptr);
}

}  // namespace
}  // namespace oxlip::test
