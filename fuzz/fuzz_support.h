// Helpers shared by the fuzz targets: a check that stops the run with the
// failed condition, and buffers of exactly the size handed to the code under
// test, so that AddressSanitizer sees a write one byte past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__,      \
                         #condition);                                                  \
            std::abort();                                                              \
        }                                                                              \
    } while (0)

// A heap block of exactly `size` bytes, filled with a sentinel.
class ExactBuffer {
public:
    // A block of 0 bytes is still a real pointer that no byte may be read from.
    explicit ExactBuffer(size_t size) : size_(size), data_(new char[size]) {
        std::memset(data_, 0xcc, size);
    }
    ~ExactBuffer() { delete[] data_; }
    ExactBuffer(const ExactBuffer&) = delete;
    ExactBuffer& operator=(const ExactBuffer&) = delete;

    char* data() { return data_; }
    size_t size() const { return size_; }
    unsigned usize() const { return static_cast<unsigned>(size_); }

    // True when a NUL sits at or before `at` (inside the buffer).
    bool terminatedBy(size_t at) const {
        return at < size_ && std::memchr(data_, '\0', at + 1) != nullptr;
    }

private:
    size_t size_;
    char* data_;
};

// Consumes the input from the front: a byte, or a NUL-free line.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t byte() {
        if (at_ >= size_) return 0;
        return data_[at_++];
    }

    // Bytes up to the next LF (dropped) or the end; a NUL ends the text early,
    // as it would in a C string.
    std::string line() {
        size_t begin = at_;
        while (at_ < size_ && data_[at_] != '\n') ++at_;
        std::string text(reinterpret_cast<const char*>(data_ + begin), at_ - begin);
        if (at_ < size_) ++at_;
        return text.substr(0, text.find('\0'));
    }

    std::string rest() {
        std::string text(reinterpret_cast<const char*>(data_ + at_), size_ - at_);
        at_ = size_;
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// A NUL-terminated copy on the heap, exactly as long as the text needs.
class ExactString {
public:
    explicit ExactString(const std::string& text) : buffer_(text.size() + 1) {
        std::memcpy(buffer_.data(), text.data(), text.size());
        buffer_.data()[text.size()] = '\0';
    }
    const char* c_str() { return buffer_.data(); }

private:
    ExactBuffer buffer_;
};
