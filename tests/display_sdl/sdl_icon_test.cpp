// Decoding the program's 16-colour icons, and refusing broken icon data.
#include "display/sdl_icon.h"
#include "user/resources.h"

#include <gtest/gtest.h>


namespace qv::display {
namespace {

// The bytes of one of the program's icon resources.
std::vector<unsigned char> ProgramIcon(WORD id) {
    for (std::size_t i = 0; i < user::kModuleResourceCount; ++i) {
        const user::ModuleResource& resource = user::kModuleResources[i];
        if (resource.id == id) return {resource.bytes, resource.bytes + resource.size};
    }
    return {};
}

std::optional<IconImage> Decode(const std::vector<unsigned char>& bytes, std::string& error) {
    return DecodeIcon(bytes.data(), bytes.size(), error);
}

uint32_t At(const IconImage& image, uint32_t x, uint32_t y) { return image.pixels[std::size_t{y} * image.width + x]; }

TEST(SdlIcon, ProgramIconIsATorusWithATransparentBackground) {
    std::string error;
    std::optional<IconImage> icon = Decode(ProgramIcon(107), error);
    ASSERT_TRUE(icon) << error;
    EXPECT_EQ(icon->width, 32u);  // the largest of 32x32 and 16x16
    EXPECT_EQ(icon->height, 32u);
    ASSERT_EQ(icon->pixels.size(), 32u * 32u);
    // Corners and the hole show what is behind the icon.
    EXPECT_EQ(At(*icon, 0, 0) >> 24, 0u);
    EXPECT_EQ(At(*icon, 31, 31) >> 24, 0u);
    EXPECT_EQ(At(*icon, 16, 15) >> 24, 0u);
    // The ring is opaque yellow from the standard palette.
    std::size_t yellow = 0;
    for (uint32_t pixel : icon->pixels) yellow += pixel == 0xFFFFFF00u;
    EXPECT_GT(yellow, 100u);
}

TEST(SdlIcon, SmallIcon) {
    std::string error;
    std::optional<IconImage> small = Decode(ProgramIcon(108), error);
    ASSERT_TRUE(small) << error;
    EXPECT_EQ(small->width, 16u);
    EXPECT_EQ(small->height, 16u);
}

TEST(SdlIcon, DataCutShortAtAnyLengthIsRefused) {
    const std::vector<unsigned char> whole = ProgramIcon(107);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        // An exact-size copy, so reading past its end is caught by the sanitizers.
        const std::vector<unsigned char> cut(whole.begin(), whole.begin() + std::ptrdiff_t(length));
        std::string error;
        EXPECT_FALSE(DecodeIcon(cut.data(), cut.size(), error)) << length;
        EXPECT_FALSE(error.empty()) << length;
    }
}

// Offsets in the program icon: directory (6 bytes), then two 16-byte entries,
// then the first image's 40-byte header.
constexpr std::size_t kFirstEntry = 6, kFirstImage = 6 + 2 * 16;

TEST(SdlIcon, InconsistentOrForeignDataIsRefused) {
    const std::vector<unsigned char> whole = ProgramIcon(107);
    auto refused = [](std::vector<unsigned char> bytes, std::size_t at, unsigned char value) {
        bytes[at] = value;
        std::string error;
        return !Decode(bytes, error) && !error.empty();
    };
    EXPECT_TRUE(refused(whole, 2, 2));                     // a cursor file, not an icon
    EXPECT_TRUE(refused(whole, 4, 0));                     // no images
    EXPECT_TRUE(refused(whole, 5, 0xFF));                  // more entries than the file holds
    EXPECT_TRUE(refused(whole, kFirstEntry + 15, 0x7F));   // image offset far outside
    EXPECT_TRUE(refused(whole, kFirstEntry + 11, 0x7F));   // image length far outside
    EXPECT_TRUE(refused(whole, kFirstImage + 14, 8));      // 256 colours
    EXPECT_TRUE(refused(whole, kFirstImage + 16, 2));      // run-length compressed
    EXPECT_TRUE(refused(whole, kFirstImage + 4, 64));      // width differs from the entry
    EXPECT_TRUE(refused(whole, kFirstImage + 0, 0xFF));    // header larger than the image
    EXPECT_TRUE(refused(whole, kFirstImage + 3, 0x80));    // header size near 4 GiB
    EXPECT_TRUE(refused(whole, kFirstImage + 32, 17));     // more palette entries than 16 colours
}

}  // namespace
}  // namespace qv::display
