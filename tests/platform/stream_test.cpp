#include "platform/stream.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/errors.h"

namespace sp {
namespace {

TEST(MemoryStream, ReadWriteSeekAndSize) {
  TMemoryStream s;
  s.WriteText("hello");
  EXPECT_EQ(s.Size(), 5);
  s.Seek(-2, TSeekOrigin::End);
  s.WriteText("LOWORLD");  // overwrites and grows
  EXPECT_EQ(s.Bytes(), "helLOWORLD");
  s.SetPosition(3);
  EXPECT_EQ(s.ReadRest(), "LOWORLD");
  char c;
  EXPECT_EQ(s.Read(&c, 1), 0);  // at the end
  EXPECT_THROW(s.ReadBuffer(&c, 1), EReadError);
  s.SetSize(2);
  EXPECT_EQ(s.Position(), 2);
  EXPECT_EQ(s.Bytes(), "he");
}

TEST(MemoryStream, CopyFromWholeSourceOrCount) {
  TMemoryStream source(std::string(100000, 'x') + "end");
  source.SetPosition(50);
  TMemoryStream all;
  EXPECT_EQ(all.CopyFrom(source, 0), 100003);  // 0: from the start, everything
  EXPECT_EQ(all.Bytes(), source.Bytes());
  source.Seek(-3, TSeekOrigin::End);
  TMemoryStream tail;
  EXPECT_EQ(tail.CopyFrom(source, 3), 3);
  EXPECT_EQ(tail.Bytes(), "end");
  EXPECT_THROW(tail.CopyFrom(source, 1), EReadError);  // source exhausted
}

TEST(HandleStream, FileRoundTripAndTruncate) {
  char name[] = "/tmp/sp_stream_XXXXXX";
  const int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  {
    THandleStream s(fd);
    s.WriteText("0123456789");
    EXPECT_EQ(s.Size(), 10);
    s.SetSize(4);
    EXPECT_EQ(s.Size(), 4);
    s.SetPosition(0);
    EXPECT_EQ(s.ReadRest(), "0123");
  }
  EXPECT_EQ(::fcntl(fd, F_GETFD), -1);  // the stream closed its descriptor
  std::remove(name);
}

TEST(HandleStream, FailedCallsReturnZeroOrRaise) {
  THandleStream s(::open("/dev/null", O_RDONLY));
  char c = 'x';
  EXPECT_EQ(s.Write(&c, 1), 0);
  EXPECT_THROW(s.WriteBuffer(&c, 1), EWriteError);
  EXPECT_THROW(s.SetSize(10), EOSError);
}

}  // namespace
}  // namespace sp
