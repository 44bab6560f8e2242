// JPEG output: the pictures decode to their size and, within the loss of
// the format, to their colours; a picture without pixels is refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tools/imagetool/ImageDescription.h"
#include "tools/imagetool/JpegWriter.h"

namespace {

int Channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

TEST(JpegWriter, SolidAndSplitPicturesDecodeToTheirColours) {
  struct Case {
    const char* name;
    const char* description;
    uint32_t left;   // expected colour at the left middle
    uint32_t right;  // and at the right middle
  };
  const Case cases[] = {
      {"solid grey", "size 16 8\nfill FF808080\n", 0xFF808080u, 0xFF808080u},
      {"alpha dropped", "size 8 8\nfill 20FF0000\n", 0xFFFF0000u, 0xFFFF0000u},
      {"two halves", "size 32 16\nfill FF0000FF\nrect 16 0 16 16 FF00FF00\n", 0xFF0000FFu, 0xFF00FF00u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ImagePicture picture;
    std::string error;
    ASSERT_TRUE(BuildImageFromDescription(c.description, &picture, &error)) << error;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(EncodeJpeg(picture, 95, &bytes, &error)) << error;
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);  // start of image
    EXPECT_EQ(bytes[1], 0xD8);
    ImagePicture back;
    ASSERT_TRUE(DecodeJpeg(bytes, &back, &error)) << error;
    EXPECT_EQ(back.width, picture.width);
    EXPECT_EQ(back.height, picture.height);
    const uint32_t y = picture.height / 2;
    const uint32_t got[2] = {back.pixels[y * back.width + 2], back.pixels[y * back.width + back.width - 3]};
    const uint32_t want[2] = {c.left, c.right};
    for (int side = 0; side < 2; ++side) {
      for (int shift : {0, 8, 16}) {
        EXPECT_NEAR(Channel(got[side], shift), Channel(want[side], shift), 12) << side << " " << shift;
      }
    }
  }
}

TEST(JpegWriter, RefusesAPictureWithoutPixelsAndBytesThatAreNoJpeg) {
  ImagePicture empty;
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_FALSE(EncodeJpeg(empty, 90, &bytes, &error));
  EXPECT_FALSE(error.empty());
  ImagePicture back;
  error.clear();
  EXPECT_FALSE(DecodeJpeg({0x00, 0x01, 0x02, 0x03}, &back, &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
