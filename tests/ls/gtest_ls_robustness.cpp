// Bad input of every kind gets an error or an empty answer, and the server
// goes on answering afterwards.
#include "LsSession.h"

namespace velmo::ls::test {
namespace {

std::string Framed(const std::string &body)
{
    return FrameMessage(body);
}

std::string Request(const std::string &method, const Json &params)
{
    return Framed(Json({{"jsonrpc", "2.0"}, {"id", 900}, {"method", method}, {"params", params}}).dump());
}

std::string OpenDocument(const std::string &text)
{
    return Framed(Json({{"jsonrpc", "2.0"},
                        {"method", "textDocument/didOpen"},
                        {"params", {{"textDocument", {{"uri", DataUri("odd.bas")}, {"version", 1}, {"text", text}}}}}})
                      .dump(-1, ' ', false, Json::error_handler_t::replace));
}

std::string BinaryText()
{
    std::string text;
    for (int i = 0; i < 256; ++i)
        text += static_cast<char>(i);
    return text + "\n\"\x01\xff\n#INCLUDE \"\xfe\n";
}

std::string HugeDocument()
{
    std::string text;
    while (text.size() < (size_t(10) << 20))
        text += "BYTE a : a = a + 1 : PRINT \"padding padding\" ' comment\n";
    return text;
}

enum Expect { kErrorAnswer, kEmptyAnswer, kAnyAnswer, kNoAnswer };

struct BadInput {
    const char *name;
    std::string bytes;
    Expect expect;
    int code; // for kErrorAnswer
    // False where the input announces a body the server must read and drop
    // (what follows in the stream is that body).
    bool recovers = true;
};

const std::vector<BadInput> &BadInputs()
{
    static const std::vector<BadInput> inputs = {
        {"MalformedJson", Framed("{\"jsonrpc\": \"2.0\", \"id\": 1, \"method\""), kErrorAnswer, kParseError},
        {"NotAnObject", Framed("[1, 2, 3]"), kErrorAnswer, kInvalidRequest},
        {"MethodNotAString", Framed("{\"jsonrpc\":\"2.0\",\"id\":900,\"method\":5}"), kErrorAnswer, kInvalidRequest},
        {"UnknownMethod", Request("textDocument/frobnicate", Json::object()), kErrorAnswer, kMethodNotFound},
        {"HeaderWithoutLength", "Content-Type: x\r\n\r\n{}", kErrorAnswer, kParseError},
        {"LengthNotANumber", "Content-Length: twelve\r\n\r\n", kErrorAnswer, kParseError},
        {"LengthTooLarge", "Content-Length: 99999999999\r\n\r\n{}", kErrorAnswer, kInvalidRequest, false},
        {"HeaderGarbage", std::string(5000, 'x'), kErrorAnswer, kParseError},
        {"ParamsOfWrongShape", Request("textDocument/hover", Json::array({1, 2})), kEmptyAnswer, 0},
        {"PositionNotANumber",
         Request("textDocument/hover",
                 {{"textDocument", {{"uri", DataUri("program/main.bas")}}},
                  {"position", {{"line", "one"}, {"character", 0}}}}),
         kEmptyAnswer, 0},
        {"LineOutOfRange", Request("textDocument/hover", At("program/main.bas", 100000, 0)), kEmptyAnswer, 0},
        {"NegativeColumn", Request("textDocument/completion", At("program/main.bas", 0, -4)), kEmptyAnswer, 0},
        {"HugeColumn", Request("textDocument/definition", At("program/main.bas", 1, 2000000000)), kEmptyAnswer, 0},
        {"UnknownDocument", Request("textDocument/references", At("program/none.bas", 0, 0)), kEmptyAnswer, 0},
        {"NotAFileUri",
         Request("textDocument/hover",
                 {{"textDocument", {{"uri", "http://x/y.bas"}}}, {"position", {{"line", 0}, {"character", 0}}}}),
         kEmptyAnswer, 0},
        {"RenameWithoutNewName", Request("textDocument/rename", At("program/main.bas", 1, 6)), kErrorAnswer,
         kInvalidParams},
        {"ChangeOfUnopenedDocument",
         Framed(Json({{"jsonrpc", "2.0"},
                      {"method", "textDocument/didChange"},
                      {"params", {{"textDocument", {{"uri", DataUri("nothing.bas")}}}, {"contentChanges", 5}}}})
                    .dump()),
         kNoAnswer, 0},
        {"BinaryText", OpenDocument(BinaryText()) + Request("textDocument/completion", At("odd.bas", 1, 2)), kAnyAnswer,
         0},
        {"BinaryTextTokens",
         OpenDocument(BinaryText()) +
             Request("textDocument/semanticTokens/full", {{"textDocument", {{"uri", DataUri("odd.bas")}}}}),
         kAnyAnswer, 0},
        {"TenMegabyteDocument", OpenDocument(HugeDocument()) + Request("textDocument/hover", At("odd.bas", 5, 2)),
         kEmptyAnswer, 0},
    };
    return inputs;
}

class Robustness : public ::testing::TestWithParam<size_t> { };

TEST_P(Robustness, AnswersWithoutFailing)
{
    const BadInput &input = BadInputs()[GetParam()];
    LsSession session;
    session.Initialize();
    session.Open("program/main.bas", DataText("program/main.bas"));
    const size_t before = session.Sent().size();
    session.SendRaw(input.bytes);
    Json answer = session.AnswerTo(900);
    for (size_t i = before; answer.is_null() && i < session.Sent().size(); ++i) {
        if (session.Sent()[i].contains("error")) // an error about no particular request
            answer = session.Sent()[i];
    }
    switch (input.expect) {
    case kErrorAnswer:
        EXPECT_EQ(session.ErrorCodeOf(answer), input.code) << answer.dump();
        break;
    case kEmptyAnswer:
        ASSERT_TRUE(answer.contains("result")) << answer.dump();
        EXPECT_TRUE(answer["result"].is_null() || answer["result"].empty()) << answer.dump();
        break;
    case kAnyAnswer:
        EXPECT_TRUE(answer.contains("result")) << answer.dump();
        break;
    case kNoAnswer:
        EXPECT_TRUE(answer.is_null()) << answer.dump();
        break;
    }
    if (!input.recovers)
        return;
    // The server still knows the program.
    const Json symbols = session.Result("workspace/symbol", {{"query", "count"}});
    EXPECT_EQ(symbols.size(), 1u) << symbols.dump();
}

INSTANTIATE_TEST_SUITE_P(Ls, Robustness, ::testing::Range(size_t(0), BadInputs().size()),
                         [](const auto &info) { return std::string(BadInputs()[info.param].name); });

TEST(RobustnessTest, HugeDocumentGetsANoteInsteadOfACheck)
{
    LsSession session;
    session.Initialize();
    session.SendRaw(OpenDocument(HugeDocument() + "x = = 1\n"));
    const Json list = session.Diagnostics(DataUri("odd.bas"));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]["severity"], 3);
}

TEST(RobustnessTest, MessagesSplitAnywhereAreStillRead)
{
    LsSession session;
    const std::string bytes = Request("initialize", Json::object());
    for (char c : bytes)
        session.SendRaw(std::string(1, c));
    EXPECT_TRUE(session.AnswerTo(900).contains("result"));
}

} // namespace
} // namespace velmo::ls::test
