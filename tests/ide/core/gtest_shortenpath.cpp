#include "../support/CaseNames.h"
#include "RecentFiles.h"
#include "WorkDirItems.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable values in failure messages and test names.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct PathCase {
    const char *path;
    const char *expected;
};

void PrintTo(const PathCase &c, std::ostream *os)
{
    *os << '"' << c.path << '"';
}

class ShortenPathTest : public ::testing::TestWithParam<PathCase> { };

TEST_P(ShortenPathTest, Shortens)
{
    EXPECT_EQ(ShortenPath(GetParam().path), QString(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ShortenPathTest,
    ::testing::Values(PathCase{"", ""}, PathCase{"/", "/"},
                      PathCase{"/home/user/velmo/ab12", "/home/user/velmo/ab12"}, // 21 characters
                      PathCase{"/home/user/velmo/abc12", "/home/user/velmo/abc12"}, // 22 characters
                      // 23 characters: the whole path is the tail, it starts at "/".
                      PathCase{"/home/user/velmo/abcd12", "/.../home/user/velmo/abcd12/"},
                      // 40 characters: the last 23 are "ts/velmo/examples/blink"; the
                      // partial folder "ts" is dropped.
                      PathCase{"/home/user/projects/velmo/examples/blink", "/.../velmo/examples/blink/"},
                      // The tail begins exactly at a separator and is kept whole.
                      PathCase{"/aaaaaaaaaaaa/bbbbbbbbbbbbbbbbbbbbbb", "/.../bbbbbbbbbbbbbbbbbbbbbb/"},
                      // No separator in the tail: the last 23 characters stay as they are.
                      PathCase{"/home/abcdefghijklmnopqrstuvwxyz0123", "/...hijklmnopqrstuvwxyz0123/"},
                      // A trailing separator is not doubled.
                      PathCase{"/home/user/projects/velmo/examples/", "/.../velmo/examples/"}),
    NameByField(&PathCase::path));

struct ParentCase {
    const char *directory;
    const char *parent;
};

void PrintTo(const ParentCase &c, std::ostream *os)
{
    *os << '"' << c.directory << '"';
}

class ParentDirectoryTest : public ::testing::TestWithParam<ParentCase> { };

TEST_P(ParentDirectoryTest, GoesOneLevelUp)
{
    EXPECT_EQ(ParentDirectory(GetParam().directory), QString(GetParam().parent));
}

INSTANTIATE_TEST_SUITE_P(Folders, ParentDirectoryTest,
                         ::testing::Values(ParentCase{"/home/user/velmo", "/home/user"},
                                           ParentCase{"/home", "/"}, // a top-level folder goes to the root
                                           ParentCase{"/", "/"}, // the root stays
                                           ParentCase{"velmo", "velmo"}, // no separator: no change
                                           ParentCase{"C:/Velmo", "C:/"}), // a drive keeps its root
                         NameByField(&ParentCase::directory));

} // namespace
