#include "test_images.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace quillet::test {

namespace fs = std::filesystem;
using namespace std::string_literals;

void check(bool holds, const char* rule) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", rule);
        std::abort();
    }
}

std::size_t branchTarget(const Bytes& image) {
    const auto byte = [&](int i) { return std::size_t{static_cast<unsigned char>(image[i])}; };
    return 8 + 4 * (byte(0) | byte(1) << 8 | byte(2) << 16);
}

Bytes removed(Bytes image, std::optional<char> fill) {
    const std::size_t target = branchTarget(image);
    image.replace(0, 4, kStandardBranch);
    if (fill) {
        std::fill(image.begin() + std::min(target, image.size()), image.end(), *fill);
    } else {
        image.resize(target);
    }
    return image;
}

Bytes added(Bytes game, const Bytes& intro) {
    const std::size_t introStart = (game.size() + 3) / 4 * 4;
    const std::size_t count = (introStart - 8) / 4;
    game.replace(0, 4, {char(count), char(count >> 8), char(count >> 16), '\xEA'});
    game.resize(introStart);
    return game + intro.substr(192) + '\0' + kStandardBranch + "\0\0\0"s;
}

ScratchFolder::ScratchFolder(bool standard) {
    std::random_device random;
    do {
        root_ = fs::temp_directory_path() / ("quillet-test-" + std::to_string(random()));
    } while (!fs::create_directory(root_));
    if (standard) {
        // Windows programs can make neither the standard folder's symbolic links nor a pipe.
#if defined(_WIN32)
        constexpr auto links = fs::copy_options::skip_symlinks;
#else
        constexpr auto links = fs::copy_options::copy_symlinks;
        mkfifo(path("pipe.gba").c_str(), 0600);
#endif
        fs::copy(QUILLET_STANDARD_IMAGES, root_, fs::copy_options::recursive | links);
        fs::resize_file(write("huge.gba", Bytes("\x94\x00\x00\xEA", 4)), std::uintmax_t{1} << 31);
        fs::resize_file(write("big game.gba", ""), 67'108'869);
    }
}

fs::path ScratchFolder::write(const std::string& name, const Bytes& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
    return path(name);
}

Bytes ScratchFolder::read(const std::string& name) const {
    return (std::ostringstream() << std::ifstream(path(name), std::ios::binary).rdbuf()).str();
}

std::map<std::string, Bytes> ScratchFolder::snapshot() const {
    std::map<std::string, Bytes> entries;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root_)) {
        const std::u8string utf8 = fs::relative(entry.path(), root_).u8string();
        const std::string name(utf8.begin(), utf8.end());
        const fs::file_status status = entry.symlink_status();
        const bool regular = fs::is_regular_file(status);
        entries[name] =
            (fs::is_symlink(status) ? "link to " + fs::read_symlink(entry.path()).string()
             : regular && entry.file_size() <= (64u << 20)
                 ? read(name)
                 : "kind " + std::to_string(int(status.type())) + ", size " +
                       std::to_string(regular ? entry.file_size() : 0)) +
            ", mode " + std::to_string(int(status.permissions()));
    }
    return entries;
}

}  // namespace quillet::test
