#include <gtest/gtest.h>

#include <string>

#include "hostlink/hostmessage.h"
#include "hostlink/internalmessage.h"
#include "hostlink/variantstream.h"
#include "tests/hostlink/wire_bytes.h"

namespace sp {
namespace {

using testing::Int32;
using testing::Text;
using testing::Integer;


std::string Encoded(const TInternalMessage& message) {
  TMemoryStream stream;
  EncodeMessage(message, stream);
  return stream.Bytes();
}

TInternalMessage Decoded(const std::string& bytes) {
  TMemoryStream stream(bytes);
  return DecodeMessage(stream);
}

void ExpectDecodeError(const TInternalMessage& message) {
  EXPECT_EQ(message.Code, 5000);
  EXPECT_EQ(message.Number, 0);
  ASSERT_EQ(message.Params.size(), 21u);
  EXPECT_EQ(message.Params[19], TVariant("Fehler(V2S)"));
  EXPECT_FALSE(message.Params[20].AsString().empty());
  EXPECT_EQ(message.Params[3], TVariant(std::string()));
}

TEST(InternalMessage, NewMessageEncodesAsHeadAnd28Elements) {
  std::string expected = Int32(1) + Int32(0) + Int32(27);
  expected += Integer("-1") + Text(";;;") + Text("") + Text("") + Integer("0") + Text("") + Text("");
  for (int i = 0; i < 21; ++i) expected += Text("");
  EXPECT_EQ(Encoded(NewMessage()), expected);
}

TEST(InternalMessage, RoundTripKeepsFieldsAndIdentity) {
  TInternalMessage message = NewMessage();
  message.Code = 42;
  message.TextA = "a";
  message.TextB = "b";
  message.TextC = "c";
  message.TextD = "d";
  message.Number = -7;
  message.Identity = {"one;two", "x", "y", "never sent", "five"};
  message.Params = {TVariant(1), TVariant("p"), TVariant::ByteArray(0, "raw")};
  const TInternalMessage back = Decoded(Encoded(message));
  EXPECT_EQ(back.Code, 42);
  EXPECT_EQ(back.TextA, "a");
  EXPECT_EQ(back.TextB, "b");
  EXPECT_EQ(back.TextC, "c");
  EXPECT_EQ(back.TextD, "d");
  EXPECT_EQ(back.Number, -7);
  EXPECT_EQ(back.Identity.Field1, "one;two");
  EXPECT_EQ(back.Identity.Field2, "x");
  EXPECT_EQ(back.Identity.Field3, "y");
  EXPECT_EQ(back.Identity.Field4, "");
  EXPECT_EQ(back.Identity.Field5, "five");
  EXPECT_EQ(back.Params, message.Params);
  EXPECT_NE(Encoded(message).find("one\ttwo;x;y;five"), std::string::npos);
}

TEST(InternalMessage, SevenElementsGiveNoParameters) {
  const std::string bytes = Int32(1) + Int32(0) + Int32(6) + Integer("9") + Text("a;b") + Text("A") + Text("B") +
                            Integer("3") + Text("C") + Text("D");
  const TInternalMessage message = Decoded(bytes);
  EXPECT_EQ(message.Code, 9);
  EXPECT_EQ(message.Identity.Field1, "a");
  EXPECT_EQ(message.Identity.Field2, "b");
  EXPECT_EQ(message.Identity.Field3, "");
  EXPECT_EQ(message.Number, 3);
  EXPECT_EQ(message.TextD, "D");
  EXPECT_TRUE(message.Params.empty());
}

TEST(InternalMessage, FillingStopsAtTheFirstElementThatDoesNotConvert) {
  // Element 4 (Number) is a text that is no integer: TextA and TextB are
  // filled, Number, TextC and TextD keep their new-message values.
  const std::string bytes = Int32(1) + Int32(0) + Int32(7) + Integer("9") + Text(";;;") + Text("A") + Text("B") +
                            Text("many") + Text("C") + Text("D") + Text("param");
  const TInternalMessage message = Decoded(bytes);
  EXPECT_EQ(message.TextB, "B");
  EXPECT_EQ(message.Number, 0);
  EXPECT_EQ(message.TextC, "");
  ASSERT_EQ(message.Params.size(), 1u);
  EXPECT_EQ(message.Params[0], TVariant("param"));
}

TEST(InternalMessage, ReadErrorsBecomeTheErrorMessage) {
  const std::string good = Encoded(NewMessage());
  ExpectDecodeError(Decoded(good.substr(0, 6)));                          // inside the root head
  ExpectDecodeError(Decoded(good.substr(0, good.size() - 1)));            // inside the last element
  ExpectDecodeError(Decoded(Int32(2) + Int32(0) + Int32(0)));             // two dimensions
  ExpectDecodeError(Decoded(Int32(1) + Int32(0) + Int32(0) + Integer("x")));  // no conversion
}

TEST(HostMessage, HeaderAndKindsDecideWhatIsReceived) {
  auto pipeMessage = [](int32_t magic, int32_t kind, const std::string& rest) {
    TMemoryStream stream;
    WriteMessageHeader(stream, TMessageHeader{magic, 5000, 5000, 7, 0, kind});
    stream.WriteText(rest);
    return stream.Bytes();
  };
  auto read = [](const std::string& bytes) {
    TMemoryStream stream(bytes);
    return ReadPipeMessage(stream);
  };
  const std::string body = Encoded(NewMessage());
  EXPECT_FALSE(read(pipeMessage(kMessageMagic, 1, body).substr(0, 23)));
  EXPECT_FALSE(read(pipeMessage(130598, 1, body)));
  EXPECT_FALSE(read(pipeMessage(kMessageMagic, 0, body)));

  const auto encoded = read(pipeMessage(kMessageMagic, 1, body));
  ASSERT_TRUE(encoded);
  EXPECT_EQ(encoded->Header.Tag, 7);
  ASSERT_TRUE(encoded->BackData);
  EXPECT_EQ(encoded->BackData->Params.size(), 21u);
  EXPECT_EQ(encoded->Text19, "");

  const auto raw = read(pipeMessage(kMessageMagic, 2, "raw bytes"));
  ASSERT_TRUE(raw);
  EXPECT_FALSE(raw->BackData);
  EXPECT_EQ(raw->RawOffset, 24);

  const auto broken = read(pipeMessage(kMessageMagic, 1, body.substr(0, 30)));
  ASSERT_TRUE(broken);
  EXPECT_EQ(broken->Text19, "Fehler(V2S)");
  EXPECT_FALSE(broken->Text20.empty());
  EXPECT_EQ(broken->BackData->Params[19], TVariant("Fehler(V2S)"));
}

TEST(HostMessage, MoreThan21ParametersAreDropped) {
  TInternalMessage message = NewMessage();
  message.Params.assign(30, TVariant("x"));
  message.Params[20] = TVariant("twenty");
  TMemoryStream stream;
  WriteMessageHeader(stream, TMessageHeader{kMessageMagic, 1, 1, 0, 0, 1});
  EncodeMessage(message, stream);
  const auto received = ReadPipeMessage(stream);
  ASSERT_TRUE(received);
  EXPECT_EQ(received->BackData->Params.size(), 21u);
  EXPECT_EQ(received->Text20, "twenty");
}

TEST(HostMessage, CommandFieldsSplitJoinAndEscape) {
  EXPECT_EQ(JoinCommandFields(6068, 0, 0, 0, "", "D:\\DATA\\", 1234), "6068<>0<>0<>0<><>D:\\DATA\\<>1234");
  EXPECT_EQ(JoinCommandFields(1, 2, 3, 4, "a<>b<c>", "K", -5), "1<>2<>3<>4<>a\x08" "b<c><>K<>-5");
  struct Case {
    std::string text;
    std::vector<std::string> fields;
  };
  const Case cases[] = {
      {"", {}},
      {"<>", {""}},
      {"a", {"a"}},
      {"a<>", {"a"}},
      {"a<><>", {"a", ""}},
      {"<><>b", {"", "", "b"}},
      {"1<>2<>3<>4<>t<>K<>9", {"1", "2", "3", "4", "t", "K", "9"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandFields(c.text), c.fields) << c.text;
}

TEST(HostMessage, FieldsAreIntegersOrZero) {
  const std::pair<const char*, int32_t> cases[] = {
      {"6066", 6066}, {"-3", -3}, {"+4", 4}, {"", 0},  {"12a", 0},
      {" 1", 0},      {"+-1", 0}, {"2147483648", 0}, {"-2147483648", INT32_MIN},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(FieldToInt(text), value) << text;
}

TEST(HostMessage, ModuleKeyRules) {
  const std::pair<const char*, const char*> cases[] = {
      {"c", "C:\\"},          {"D:\\Data", "D:\\DATA\\"}, {"", ""},
      {"d:\\data\\", "D:\\DATA\\"}, {"E:", "E:"},       {"/home/x/mod", "/HOME/X/MOD\\"},
      {"\xe4rger", "\xc4RGER\\"},
  };
  for (const auto& [path, key] : cases) EXPECT_EQ(ModuleKeyOf(path), key) << path;
}

}  // namespace
}  // namespace sp
