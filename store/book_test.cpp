#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/platform.h"
#include "store/book.h"
#include "store/test_book_writer.h"

namespace lekta {
namespace {

namespace fs = std::filesystem;
using testbook::Bytes;

class CurrentBook : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("lekta-book-" + std::to_string(getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        unload_book();
        fs::remove_all(dir_);
    }
    std::string write(const std::string& name, const Bytes& bytes) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    fs::path dir_;
};

TEST_F(CurrentBook, LoadsAFileAndKeepsItOnFailure) {
    EXPECT_FALSE(find_resource(1001));
    EXPECT_FALSE(book_has_leap_cycle());

    const std::string good = write("leap.res", testbook::book_file(true));
    std::string error;
    ASSERT_TRUE(load_book_file(good, &error)) << error;
    EXPECT_TRUE(book_has_leap_cycle());
    ASSERT_TRUE(find_resource(1061));
    EXPECT_EQ(*find_resource(32767)->data(), 0);  // L's high byte

    // Each failure is one line naming the file; the book stays.
    const std::string missing = (dir_ / "none.res").string();
    EXPECT_FALSE(load_book_file(missing, &error));
    EXPECT_EQ(error, missing + ": missing");
    EXPECT_FALSE(load_book_file(dir_.string(), &error));
    EXPECT_EQ(error, dir_.string() + ": unreadable (a directory)");
    const std::string text = write("notes.txt", Bytes(40, 'x'));
    EXPECT_FALSE(load_book_file(text, &error));
    EXPECT_EQ(error, text + ": not a book file (bad resource header at offset 0)");
    Bytes cut = testbook::book_file(false);
    cut.resize(cut.size() / 2);
    const std::string half = write("half.res", cut);
    EXPECT_FALSE(load_book_file(half, &error));
    EXPECT_EQ(error, half + ": truncated");
    if (getuid() != 0) {
        const std::string locked = write("locked.res", testbook::book_file(false));
        fs::permissions(locked, fs::perms::none);
        EXPECT_FALSE(load_book_file(locked, &error));
        EXPECT_EQ(error.rfind(locked + ": unreadable (", 0), 0u) << error;
    }
    EXPECT_TRUE(book_has_leap_cycle());
    EXPECT_TRUE(find_resource(1061));
}

TEST_F(CurrentBook, UsesBytesInPlace) {
    const Bytes bytes = testbook::book_file(false);
    std::string error;
    ASSERT_TRUE(use_book_bytes(bytes, &error, "memory")) << error;
    EXPECT_FALSE(book_has_leap_cycle());
    const auto month = find_resource(1001);
    ASSERT_TRUE(month);
    EXPECT_GE(month->data(), bytes.data());
    EXPECT_LT(month->data(), bytes.data() + bytes.size());
    EXPECT_FALSE(find_resource(1049));

    EXPECT_FALSE(use_book_bytes(Bytes{}, &error, "memory"));
    EXPECT_EQ(error, "memory: not a book file (empty)");
    EXPECT_TRUE(find_resource(1001));
}

}  // namespace
}  // namespace lekta
