#include "image_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <new>
#include <random>

#include "file_system.h"
#include "intro.h"

#if defined(_WIN32)
#include <io.h>
#define fsync _commit
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace quillet {

namespace {

QuilletStatus failure(QuilletStatus status, int error) {
    errno = error;
    return status;
}

bool writeAll(int descriptor, std::span<const std::byte> bytes) {
    while (!bytes.empty()) {
        const auto written =
            ::write(descriptor, bytes.data(),
                    static_cast<unsigned>(std::min<std::size_t>(bytes.size(), INT_MAX)));
        if (written < 0 && errno != EINTR) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(std::max<decltype(written)>(written, 0)));
    }
    return true;
}

}  // namespace

std::string folderOf(const std::string& path) {
#if defined(_WIN32)
    const std::size_t separator = path.find_last_of("/\\:");
#else
    const std::size_t separator = path.find_last_of('/');
#endif
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

bool withUnusedName(const std::string& folder, std::string& name,
                    const std::function<bool(const std::string&)>& create) {
    std::minstd_rand random(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + ".quillet-" + std::to_string(random()) + ".tmp";
        if (create(name)) {
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    name.clear();
    return false;
}

ImageBuffer::ImageBuffer(std::size_t size) : size_(size) {
#if defined(__linux__)
    // Fresh anonymous pages are zero already, so nothing clears them twice; in 2 MiB pages,
    // where the system has them, reading a large image takes 512 times fewer page faults.
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    allocationSize_ = size + kHugePage;
    allocation_ =
        mmap(nullptr, allocationSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (allocation_ == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto start =
        (reinterpret_cast<std::uintptr_t>(allocation_) + kHugePage - 1) & ~(kHugePage - 1);
    data_ = reinterpret_cast<std::byte*>(start);
    madvise(data_, size, MADV_HUGEPAGE);
#else
    allocationSize_ = size;
    allocation_ = std::calloc(std::max<std::size_t>(size, 1), 1);
    if (allocation_ == nullptr) {
        throw std::bad_alloc();
    }
    data_ = static_cast<std::byte*>(allocation_);
#endif
}

ImageBuffer::~ImageBuffer() {
#if defined(__linux__)
    munmap(allocation_, allocationSize_);
#else
    std::free(allocation_);
#endif
}

InputFile::~InputFile() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

QuilletStatus InputFile::open(const char* path) {
    if (path == nullptr || *path == '\0') {
        return failure(QUILLET_INPUT_NOT_OPENED, ENOENT);
    }
    descriptor_ = openForReading(path);
    struct stat info;
    if (descriptor_ < 0 || fstat(descriptor_, &info) != 0) {
        return QUILLET_INPUT_NOT_OPENED;
    }
    if (!S_ISREG(info.st_mode)) {
        return failure(QUILLET_INPUT_NOT_OPENED, S_ISDIR(info.st_mode) ? EISDIR : ENOTSUP);
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
    return QUILLET_OK;
}

QuilletStatus InputFile::read(std::span<std::byte> buffer) const {
    std::span<std::byte> rest = buffer.first(std::min<std::uint64_t>(buffer.size(), size_));
    while (!rest.empty()) {
        const auto got = ::read(descriptor_, rest.data(),
                                static_cast<unsigned>(std::min<std::size_t>(rest.size(), INT_MAX)));
        if (got <= 0 && !(got < 0 && errno == EINTR)) {
            // Where the file ends before its size, no system call failed.
            return failure(QUILLET_INPUT_NOT_READ, got < 0 ? errno : 0);
        }
        rest = rest.subspan(static_cast<std::size_t>(std::max<decltype(got)>(got, 0)));
    }
    return QUILLET_OK;
}

WholeFile readWholeFile(const char* path) {
    WholeFile file;
    InputFile input;
    file.status = input.open(path);
    file.size = input.size();
    if (file.status == QUILLET_OK && file.size >= kMaxInputSize) {
        file.status = QUILLET_INPUT_TOO_LARGE;
    }
    try {
        if (file.status == QUILLET_OK) {
            file.buffer = std::make_unique<ImageBuffer>(file.size);
            file.status = input.read(file.buffer->bytes());
        }
    } catch (const std::bad_alloc&) {
        file.status = QUILLET_INPUT_TOO_LARGE;
    }
    file.errorNumber = file.status == QUILLET_OK ? 0 : errno;
    if (file.status != QUILLET_OK) {
        file.buffer.reset();
    }
    return file;
}

PendingOutput::PendingOutput() = default;

PendingOutput::~PendingOutput() = default;

QuilletStatus PendingOutput::write(const char* outputPath, std::span<const std::byte> bytes) {
    if (outputPath == nullptr || *outputPath == '\0') {
        return failure(QUILLET_OUTPUT_NOT_WRITTEN, ENOENT);
    }
    target_ = replaceableTarget(outputPath);
    if (target_.empty()) {
        return QUILLET_OUTPUT_NOT_WRITTEN;
    }
    // Every byte is on the disk before the file takes the output's name, so that after a crash
    // the name holds either the old file or the whole new one.
    file_ = std::make_unique<TemporaryFile>();
    if (file_->create(folderOf(target_)) && file_->takePermissionsOf(target_) &&
        writeAll(file_->descriptor(), bytes) && fsync(file_->descriptor()) == 0) {
        return QUILLET_OK;
    }
    file_.reset();
    return QUILLET_OUTPUT_NOT_WRITTEN;
}

QuilletStatus PendingOutput::replace() {
    if (file_ == nullptr) {
        return QUILLET_OUTPUT_NOT_WRITTEN;
    }
    const bool replaced = file_->replace(target_);
    file_.reset();
    return replaced ? QUILLET_OK : QUILLET_OUTPUT_NOT_WRITTEN;
}

QuilletStatus replaceFile(const char* outputPath, std::span<const std::byte> bytes) {
    PendingOutput output;
    const QuilletStatus status = output.write(outputPath, bytes);
    return status == QUILLET_OK ? output.replace() : status;
}

}  // namespace quillet
