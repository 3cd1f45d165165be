#include <gtest/gtest.h>

#include "platform/embedded_store.h"

namespace {

TEST(EmbeddedStore, FindsByExactNameThenAnyCase) {
  static const uint8_t a[] = {1, 2, 3}, b[] = {4};
  store::register_file("Pointer.png", a, sizeof a);
  store::register_file("pointer.PNG", b, sizeof b);
  const uint8_t* data = nullptr;
  size_t size = 0;
  ASSERT_TRUE(store::find("pointer.PNG", data, size));
  EXPECT_EQ(data, b);
  ASSERT_TRUE(store::find("Pointer.png", data, size));
  EXPECT_EQ(data, a);
  EXPECT_EQ(size, 3u);
  EXPECT_TRUE(store::find("POINTER.PNG", data, size));
  EXPECT_FALSE(store::find("pointer", data, size));
}

TEST(EmbeddedStore, HoldsTheProgramsAssets) {
  store::register_builtin_files();
  const uint8_t* data = nullptr;
  size_t size = 0;
  for (const char* name : {"bqlogo.png", "altamontenf.ttf", "mpointer.png", "plonk_bg1.png", "plonk_sf1.png"}) {
    ASSERT_TRUE(store::find(name, data, size)) << name;
    EXPECT_GT(size, 0u) << name;
  }
}

}  // namespace
