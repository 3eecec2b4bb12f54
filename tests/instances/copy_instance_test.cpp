#include <gtest/gtest.h>

#include "instance_fixture.h"
#include "instances/instance.h"
#include "support/icon_images.h"

namespace oxlip::test {
namespace {

using CopyInstanceTest = InstanceTest;

// The copy has its own icon, so either can be freed alone; the shared default is never freed.
TEST_F(CopyInstanceTest, EitherCanBeFreedAlone) {
  WritePng(settings_.InstancesDir + "i/icon.png", 3, 2);
  WriteInstanceFile("i", "mods.ini", "a\r\nb\r\n");
  Instance source = Load("i"), copy, plain = Load("plain");
  CopyInstance(copy, source);
  ASSERT_FALSE(copy.Icon.IsDefault());
  EXPECT_NE(copy.Icon.image(), source.Icon.image());
  EXPECT_EQ(copy.Icon.image()->rgba, source.Icon.image()->rgba);
  EXPECT_EQ(copy.Mods, source.Mods);
  FreeInstanceIcon(copy);
  EXPECT_EQ(copy.Icon.image(), default_icon_.image());
  EXPECT_EQ(source.Icon.image()->width, 3);
  CopyInstance(copy, source);
  FreeInstanceIcon(source);
  EXPECT_EQ(copy.Icon.image()->width, 3);

  CopyInstance(copy, plain);
  FreeInstanceIcon(plain);
  FreeInstanceIcon(copy);
  FreeInstanceIcon(copy);
  EXPECT_EQ(default_icon_.image()->rgba, (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST(InstanceIconTest, WithoutALoadableDefaultThereIsNothingToShow) {
  DefaultIcon none;
  InstanceIcon icon(none);
  EXPECT_EQ(icon.image(), nullptr);
  icon.SetOwn(image::Image{2, 1, std::vector<uint8_t>(8, 9)});
  EXPECT_EQ(icon.image()->width, 2);
  icon.ResetToDefault();
  EXPECT_EQ(icon.image(), nullptr);
}

}  // namespace
}  // namespace oxlip::test
