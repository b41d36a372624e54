// LINE INPUT: reading lines from the files of the file numbers 0 to 9.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime_api.h"

namespace {

class LineInput : public ::testing::Test {
 protected:
  void TearDown() override {
    for (int n = 0; n < 10; n++) {
      if (file__kzo[n]) std::fclose(file__kzo[n]);
      file__kzo[n] = nullptr;
      eof__kzo[n] = 0;
    }
    for (const auto &path : paths_) std::remove(path.c_str());
  }

  // Opens a file holding bytes on file number n the way OPEN does.
  void open(int n, const std::string &bytes) {
    std::string path = ::testing::TempDir() + "kzo_lineinput_XXXXXX";
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    ASSERT_GE(fd, 0);
    close(fd);
    paths_.push_back(name.data());
    FILE *out = std::fopen(name.data(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
    file__kzo[n] = std::fopen(name.data(), "r");
    ASSERT_NE(file__kzo[n], nullptr);
  }

  std::vector<std::string> paths_;
};

struct FileCase {
  const char *what;
  std::string bytes;
  std::vector<std::string> lines;  // what the reads deliver before the stop
};

TEST_F(LineInput, LinesThenInputPastEnd) {
  const std::vector<FileCase> cases = {
      {"A LF B", "A\nB", {"A", "B"}},
      {"A LF B LF", "A\nB\n", {"A", "B", ""}},
      {"empty file", "", {""}},
      {"only a line feed", "\n", {"", ""}},
      {"NUL inside a line", std::string("A\0B\n", 4), {"A", "B", ""}},
      {"NUL at the end", std::string("AB\0", 3), {"AB", ""}},
      {"carriage return kept", "A\r\nB", {"A\r", "B"}},
      {"empty lines", "\n\nC", {"", "", "C"}},
      {"high bytes", "\xc8\xff\n", {"\xc8\xff", ""}},
      {"400-byte line", std::string(400, 'x') + "\nC", {std::string(299, 'x'), "C"}},
      {"299-byte line", std::string(299, 'y') + "\n", {std::string(299, 'y'), ""}},
      {"300-byte line", std::string(300, 'z'), {std::string(299, 'z')}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    open(3, c.bytes);
    eof__kzo[3] = 0;
    for (const auto &line : c.lines) {
      Buf to(std::string(1000, '#'));
      lineinput__kzo(3, to);
      EXPECT_EQ(std::string(to), line);
      for (size_t i = 300; i < 1000; i++) ASSERT_EQ(to.data[i], '#') << "byte " << i;
    }
    line__kzo = 31;
    Stop stop = run_stop([] {
      Buf to;
      lineinput__kzo(3, to);
    });
    EXPECT_TRUE(stop.exited);
    EXPECT_EQ(stop.status, 1);
    EXPECT_EQ(stop.out, "input past end in line 31");
    std::fclose(file__kzo[3]);
    file__kzo[3] = nullptr;
  }
}

TEST_F(LineInput, EachNumberHasItsOwnFile) {
  open(0, "zero\n");
  open(9, "nine\n");
  Buf to;
  lineinput__kzo(9, to);
  EXPECT_STREQ(to, "nine");
  lineinput__kzo(0, to);
  EXPECT_STREQ(to, "zero");
  EXPECT_EQ(eof__kzo[0], '\n');
  lineinput__kzo(0, to);
  EXPECT_STREQ(to, "");
  EXPECT_EQ(eof__kzo[0], EOF);
  EXPECT_EQ(eof__kzo[9], '\n');
}

TEST_F(LineInput, BadFileNumbers) {
  open(5, "A\n");
  for (int n : {-1, 10, 7, 9, INT_MIN, INT_MAX}) {
    line__kzo = 12;
    Stop stop = run_stop([n] {
      Buf to;
      lineinput__kzo(n, to);
    });
    EXPECT_TRUE(stop.exited) << n;
    EXPECT_EQ(stop.status, 1) << n;
    EXPECT_EQ(stop.out, "bad file number in line 12") << n;
  }
}

}  // namespace
