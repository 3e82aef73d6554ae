// Every method of the language server on a small program of three files:
// main.bas includes common.bas, which includes lib/leds.bas.
#include "LsSession.h"

#include <algorithm>

namespace velmo::ls::test {
namespace {

const char kMain[] = "program/main.bas";
const char kCommon[] = "program/common.bas";
const char kLeds[] = "program/lib/leds.bas";

class Protocol : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_session.Initialize();
        m_session.Open(kMain, DataText(kMain));
    }
    LsSession m_session;
};

bool HasLabel(const Json &items, const std::string &label, const std::string &detailPart = "")
{
    return std::any_of(items.begin(), items.end(), [&](const Json &item) {
        return item["label"] == label && item.value("detail", "").find(detailPart) != std::string::npos;
    });
}

// --- Diagnostics --------------------------------------------------------

TEST_F(Protocol, CleanProgramPublishesNoMessages)
{
    EXPECT_EQ(m_session.Diagnostics(DataUri(kMain)), Json::array());
}

struct DiagnosticCase {
    const char *name;
    const char *file; // the document edited (opened with this text)
    const char *text;
    const char *where; // the file whose messages are checked
    int line;
    const char *message; // part of the message
};

const DiagnosticCase kDiagnosticCases[] = {
    {"ErrorInMainFile", kMain, "#INCLUDE \"common.bas\"\nBYTE count\ncount = = 1\n", kMain, 2, "expected"},
    {"ErrorInIncludeFile", kCommon, "INTEGER total\ntotal = (1\n", kCommon, 1, "expected"},
    {"ErrorInIncludeShownOnIncludeLine", kCommon, "INTEGER total\ntotal = (1\n", kMain, 0, "common.bas(2): "},
    {"NestedIncludeOnOuterIncludeLine", kLeds, "BYTE led\nled = (\n", kCommon, 3, "leds.bas(2): "},
    {"NestedIncludeOnMainIncludeLine", kLeds, "BYTE led\nled = (\n", kMain, 0, "leds.bas(2): "},
    {"UnknownDirective", kMain, "#FROB\n", kMain, 0, "Unknown directive"},
    {"MissingIncludeFile", kMain, "#INCLUDE \"nowhere.bas\"\n", kMain, 0, "Can't open file"},
    {"UnknownVariable", kMain, "#INCLUDE \"common.bas\"\nundeclared = 1\n", kMain, 1, "undeclared"},
    {"TargetLimitsVariables", kMain,
     "#TARGET ZENTRA8\nBYTE a1,a2,a3,a4,a5,a6,a7,a8,a9,b1,b2,b3,b4,b5,b6,b7,b8,b9,c1,c2,c3,c4,c5,c6,c7,c8,c9\n", kMain,
     1, "Too many variables"},
    {"DefineSelectsBlock", kMain, "#DEFINE BROKEN\n#IFDEF BROKEN\nx = = 1\n#ENDIF\n", kMain, 2, ""},
};

class Diagnostics : public ::testing::TestWithParam<DiagnosticCase> { };

TEST_P(Diagnostics, PublishedOnTheLine)
{
    const DiagnosticCase &c = GetParam();
    LsSession session;
    session.Initialize();
    for (const char *file : {kMain, kCommon, kLeds})
        session.Open(file, DataText(file));
    session.Change(c.file, c.text);
    const Json list = session.Diagnostics(DataUri(c.where));
    ASSERT_TRUE(list.is_array()) << "nothing published for " << c.where;
    const bool found = std::any_of(list.begin(), list.end(), [&](const Json &d) {
        return d["range"]["start"]["line"] == c.line &&
            d["message"].get<std::string>().find(c.message) != std::string::npos;
    });
    EXPECT_TRUE(found) << list.dump(1);
}

INSTANTIATE_TEST_SUITE_P(Ls, Diagnostics, ::testing::ValuesIn(kDiagnosticCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Protocol, TargetWithMoreVariablesAccepted)
{
    m_session.Change(kMain,
                     "#TARGET ZENTRA16\nBYTE a1,a2,a3,a4,a5,a6,a7,a8,a9,b1,b2,b3,b4,b5,b6,b7,b8,b9,c1,c2,c3,c4,c5,"
                     "c6,c7,c8,c9\n");
    EXPECT_EQ(m_session.Diagnostics(DataUri(kMain)), Json::array());
}

TEST_F(Protocol, UndefinedBlockIsNotChecked)
{
    m_session.Change(kMain, "#IFDEF NOT_DEFINED_HERE\nx = = 1\n#ENDIF\n");
    EXPECT_EQ(m_session.Diagnostics(DataUri(kMain)), Json::array());
}

TEST_F(Protocol, FixingTheErrorClearsTheMessage)
{
    m_session.Change(kMain, "#INCLUDE \"common.bas\"\nBYTE count\ncount = = 1\n");
    ASSERT_FALSE(m_session.Diagnostics(DataUri(kMain)).empty());
    m_session.Change(kMain, "#INCLUDE \"common.bas\"\nBYTE count\ncount = 1\n");
    EXPECT_EQ(m_session.Diagnostics(DataUri(kMain)), Json::array());
}

// The version of the text the messages were found in, as the editor numbered it.
Json LastPublishedVersion(const LsSession &session, const std::string &uri)
{
    Json version = "none published";
    for (const Json &message : session.Sent()) {
        if (message.value("method", "") == "textDocument/publishDiagnostics" && message["params"]["uri"] == uri)
            version = message["params"].value("version", Json());
    }
    return version;
}

TEST_F(Protocol, MessagesCarryTheVersionOfTheirText)
{
    EXPECT_EQ(LastPublishedVersion(m_session, DataUri(kMain)), 1);
    m_session.Change(kMain, "#FROB\n");
    EXPECT_EQ(LastPublishedVersion(m_session, DataUri(kMain)), 2);
    // A change without a version leaves the messages without one.
    m_session.Notify(
        "textDocument/didChange",
        {{"textDocument", {{"uri", DataUri(kMain)}}}, {"contentChanges", Json::array({{{"text", "\n"}}})}});
    EXPECT_EQ(LastPublishedVersion(m_session, DataUri(kMain)), Json());
}

TEST_F(Protocol, ClosingADocumentClearsItsMessages)
{
    m_session.Change(kMain, "#FROB\n");
    m_session.Notify("textDocument/didClose", {{"textDocument", {{"uri", DataUri(kMain)}}}});
    EXPECT_EQ(m_session.Diagnostics(DataUri(kMain)), Json::array());
}

TEST_F(Protocol, UnsavedIncludeTextIsCompiledInsteadOfTheFile)
{
    m_session.Open(kCommon, "INTEGER total\nINTEGER fresh\nblink:\n#DEFINE LIMIT 5\n");
    const Json items = m_session.Result("textDocument/completion", At(kMain, 3, 0));
    EXPECT_TRUE(HasLabel(items, "fresh", "INTEGER fresh"));
}

// --- Completion -----------------------------------------------------------

struct CompletionCase {
    const char *name;
    const char *line; // replaces main.bas line 6 ("GOTO start")
    const char *present; // a label the list has ("" for none)
    const char *detail; // part of its detail
    const char *absent; // a label the list must not have ("" for none)
};

const CompletionCase kCompletionCases[] = {
    {"LabelsAfterGoto", "GOTO ", "blink", "blink:", "count"},
    {"LabelsAfterGosubWhileTyping", "GOSUB bl", "start", "", "PRINT"},
    {"LabelsInOnGotoList", "ON count GOTO start, ", "blink", "", "total"},
    {"VariablesWithTypes", "count = ", "total", "INTEGER total", "blink"},
    {"VariableOfNestedInclude", "count = ", "led", "BYTE led", ""},
    {"Macros", "count = ", "LIMIT", "#DEFINE LIMIT 5", ""},
    {"PredefinedNames", "count = ", "NO_CLOCK", "0", ""},
    {"KeywordsWithSyntax", "", "sound", "sound", ""},
    {"FunctionsWithArguments", "count = ", "min", "min(a,b)", ""},
    {"FileNamesAfterInclude", "#INCLUDE \"", "common.bas", "", "LIMIT"},
    {"FoldersAfterInclude", "#INCLUDE \"", "lib/", "", ""},
    {"FilesInFolderAfterInclude", "#INCLUDE \"lib/", "lib/leds.bas", "", "common.bas"},
};

class Completions : public ::testing::TestWithParam<CompletionCase> { };

TEST_P(Completions, OfferTheWordsThatFit)
{
    const CompletionCase &c = GetParam();
    LsSession session;
    session.Initialize();
    std::string text = DataText(kMain);
    text = text.substr(0, text.find("GOTO start")) + c.line + "\n";
    session.Open(kMain, text);
    const Json items = session.Result("textDocument/completion", At(kMain, 6, static_cast<int>(strlen(c.line))));
    ASSERT_TRUE(items.is_array());
    if (*c.present) {
        EXPECT_TRUE(HasLabel(items, c.present, c.detail)) << items.dump();
    }
    if (*c.absent) {
        EXPECT_FALSE(HasLabel(items, c.absent)) << items.dump();
    }
}

INSTANTIATE_TEST_SUITE_P(Ls, Completions, ::testing::ValuesIn(kCompletionCases),
                         [](const auto &info) { return std::string(info.param.name); });

// --- Hover ----------------------------------------------------------------

struct PlaceCase {
    const char *name;
    const char *file;
    int line;
    int character;
    const char *expected; // part of the answer
    const char *alsoExpected;
};

const PlaceCase kHoverCases[] = {
    {"KeywordSyntaxAndManualLine", kMain, 5, 2, "SOUND expression [, expression]", "Plays a tone"},
    {"LoopKeywordManualLine", kMain, 6, 1, "GOTO label", "GOTO"},
    {"VariableDeclaration", kMain, 3, 1, "BYTE count", "main.bas line 2"},
    {"VariableFromInclude", kCommon, 5, 1, "INTEGER total", "common.bas line 3"},
    {"MacroDefinition", kMain, 3, 18, "#DEFINE LIMIT 5", "common.bas line 2"},
    {"LabelLine", kMain, 4, 7, "blink:", "common.bas line 5"},
    {"IncludeDirective", kMain, 0, 3, "#INCLUDE \"filename\"", "source file"},
};

class Hovers : public ::testing::TestWithParam<PlaceCase> { };

TEST_P(Hovers, DescribeTheWord)
{
    const PlaceCase &c = GetParam();
    LsSession session;
    session.Initialize();
    session.Open(kMain, DataText(kMain));
    session.Open(c.file, DataText(c.file));
    const Json hover = session.Result("textDocument/hover", At(c.file, c.line, c.character));
    ASSERT_TRUE(hover.is_object()) << hover.dump();
    const std::string text = hover["contents"]["value"];
    EXPECT_NE(text.find(c.expected), std::string::npos) << text;
    EXPECT_NE(text.find(c.alsoExpected), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(Ls, Hovers, ::testing::ValuesIn(kHoverCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Protocol, HoverOnBlankIsEmpty)
{
    EXPECT_TRUE(m_session.Result("textDocument/hover", At(kMain, 5, 10)).is_null());
}

// --- Signature help ---------------------------------------------------------

struct SignatureCase {
    const char *line;
    const char *label;
    int active;
};

const SignatureCase kSignatureCases[] = {
    {"SOUND ", "SOUND expression [, expression]", 0},
    {"SOUND 440, ", "SOUND expression [, expression]", 1},
    {"count = MIN(1, ", "MIN(a,b)", 1},
    {"count = MAX(MIN(1, 2), ", "MAX(a,b)", 1},
    {"count = 1 : POKE 1, ", "POKE expression, expression", 1},
    {"IF count THEN SOUND 1, ", "SOUND expression [, expression]", 1},
};

class Signatures : public ::testing::TestWithParam<SignatureCase> { };

TEST_P(Signatures, NameTheArgument)
{
    const SignatureCase &c = GetParam();
    LsSession session;
    session.Initialize();
    session.Open(kMain, std::string("BYTE count\n") + c.line + "\n");
    const Json help = session.Result("textDocument/signatureHelp", At(kMain, 1, static_cast<int>(strlen(c.line))));
    ASSERT_TRUE(help.is_object()) << c.line;
    EXPECT_EQ(help["signatures"][0]["label"], c.label);
    EXPECT_EQ(help["activeParameter"], c.active);
}

INSTANTIATE_TEST_SUITE_P(Ls, Signatures, ::testing::ValuesIn(kSignatureCases));

TEST_F(Protocol, NoSignatureOutsideAStatementWithArguments)
{
    EXPECT_TRUE(m_session.Result("textDocument/signatureHelp", At(kMain, 2, 3)).is_null());
}

// --- Definition and references ---------------------------------------------

struct DefinitionCase {
    const char *name;
    int line; // in main.bas
    int character;
    const char *file;
    int targetLine;
};

const DefinitionCase kDefinitionCases[] = {
    {"LabelInInclude", 4, 8, kCommon, 4},
    {"LabelInSameFile", 6, 6, kMain, 2},
    {"Variable", 3, 9, kMain, 1},
    {"MacroInInclude", 3, 17, kCommon, 1},
    {"IncludeLineOpensTheFile", 0, 12, kCommon, 0},
};

class Definitions : public ::testing::TestWithParam<DefinitionCase> { };

TEST_P(Definitions, LeadToTheDeclaration)
{
    const DefinitionCase &c = GetParam();
    LsSession session;
    session.Initialize();
    session.Open(kMain, DataText(kMain));
    const Json location = session.Result("textDocument/definition", At(kMain, c.line, c.character));
    ASSERT_TRUE(location.is_object()) << location.dump();
    EXPECT_EQ(location["uri"], DataUri(c.file));
    EXPECT_EQ(location["range"]["start"]["line"], c.targetLine);
}

INSTANTIATE_TEST_SUITE_P(Ls, Definitions, ::testing::ValuesIn(kDefinitionCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Protocol, ReferencesAcrossFiles)
{
    m_session.Change(kMain, DataText(kMain) + "total = count\n");
    const Json places = m_session.Result("textDocument/references", At(kMain, 7, 2));
    ASSERT_EQ(places.size(), 4u) << places.dump(); // declaration, two uses in common.bas, one here
    int inCommon = 0;
    for (const Json &place : places)
        inCommon += place["uri"] == DataUri(kCommon);
    EXPECT_EQ(inCommon, 3);
}

TEST_F(Protocol, ReferencesOfLabelIncludeItsDefinition)
{
    const Json places = m_session.Result("textDocument/references", At(kMain, 6, 6));
    ASSERT_EQ(places.size(), 2u) << places.dump();
    EXPECT_EQ(places[0]["range"]["start"], Json({{"line", 2}, {"character", 0}}));
    EXPECT_EQ(places[1]["range"]["start"], Json({{"line", 6}, {"character", 5}}));
}

// --- Rename -------------------------------------------------------------------

TEST_F(Protocol, RenameChangesEveryUseAndWritesNothing)
{
    const std::string before = DataText(kCommon);
    Json params = At(kMain, 4, 8);
    params["newName"] = "flash";
    const Json edit = m_session.Result("textDocument/rename", params);
    ASSERT_TRUE(edit.contains("changes")) << edit.dump();
    EXPECT_EQ(edit["changes"][DataUri(kMain)].size(), 1u);
    ASSERT_EQ(edit["changes"][DataUri(kCommon)].size(), 1u);
    EXPECT_EQ(edit["changes"][DataUri(kCommon)][0]["range"]["start"]["line"], 4);
    EXPECT_EQ(edit["changes"][DataUri(kCommon)][0]["newText"], "flash");
    EXPECT_EQ(DataText(kCommon), before);
}

struct RenameCase {
    const char *newName;
    const char *message;
};

const RenameCase kRefusedRenames[] = {
    {"PRINT", "keyword"},          {"total", "already declared"},  {"LIMIT", "already declared"},
    {"START", "already declared"}, {"1count", "not a valid name"}, {"two words", "not a valid name"},
};

class RefusedRenames : public ::testing::TestWithParam<RenameCase> { };

TEST_P(RefusedRenames, AreRefusedWithAMessage)
{
    LsSession session;
    session.Initialize();
    session.Open(kMain, DataText(kMain));
    Json params = At(kMain, 1, 6); // count
    params["newName"] = GetParam().newName;
    const Json answer = session.Call("textDocument/rename", params);
    ASSERT_TRUE(answer.contains("error")) << answer.dump();
    EXPECT_NE(answer["error"]["message"].get<std::string>().find(GetParam().message), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Ls, RefusedRenames, ::testing::ValuesIn(kRefusedRenames));

TEST_F(Protocol, RenameToOtherCaseOfItsOwnNameIsAllowed)
{
    Json params = At(kMain, 1, 6);
    params["newName"] = "COUNT";
    EXPECT_EQ(m_session.Result("textDocument/rename", params)["changes"][DataUri(kMain)].size(), 3u);
}

// --- Symbols ------------------------------------------------------------------

TEST_F(Protocol, DocumentSymbolsOfAnIncludeFile)
{
    const Json symbols =
        m_session.Result("textDocument/documentSymbol", {{"textDocument", {{"uri", DataUri(kCommon)}}}});
    std::vector<std::string> names;
    for (const Json &symbol : symbols)
        names.push_back(symbol["name"]);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"LIMIT", "blink", "total"}));
}

TEST_F(Protocol, WorkspaceSymbolsMatchTheQueryInAnyCase)
{
    const Json symbols = m_session.Result("workspace/symbol", {{"query", "lim"}});
    ASSERT_EQ(symbols.size(), 1u) << symbols.dump();
    EXPECT_EQ(symbols[0]["name"], "LIMIT");
    EXPECT_EQ(symbols[0]["location"]["uri"], DataUri(kCommon));
}

// --- Semantic tokens ------------------------------------------------------------

// The type name of the token at (line, character) in the decoded data.
std::string TokenTypeAt(const Json &legend, const Json &data, int line, int character)
{
    int row = 0;
    int column = 0;
    for (size_t i = 0; i + 4 < data.size(); i += 5) {
        row += data[i].get<int>();
        column = data[i].get<int>() == 0 ? column + data[i + 1].get<int>() : data[i + 1].get<int>();
        if (row == line && column == character)
            return legend[data[i + 3].get<int>()];
    }
    return "";
}

TEST(SemanticTokensTest, ClassifyEveryKindOfWord)
{
    LsSession session;
    const Json init = session.Result("initialize", Json::object());
    session.Notify("initialized", Json::object());
    session.Open(kMain, DataText(kMain) + "count = 1 ' done\n");
    const Json legend = init["capabilities"]["semanticTokensProvider"]["legend"]["tokenTypes"];
    const Json data =
        session.Result("textDocument/semanticTokens/full", {{"textDocument", {{"uri", DataUri(kMain)}}}})["data"];
    const struct {
        int line, character;
        const char *type;
    } expected[] = {{0, 0, "macro"},  {0, 9, "string"},   {1, 0, "type"},    {1, 5, "variable"},
                    {2, 0, "label"},  {3, 16, "macro"},   {4, 0, "keyword"}, {4, 6, "label"},
                    {5, 6, "number"}, {7, 10, "comment"}, {6, 5, "label"}};
    for (const auto &e : expected)
        EXPECT_EQ(TokenTypeAt(legend, data, e.line, e.character), e.type) << e.line << ":" << e.character;
}

// --- Life cycle and cancellation ---------------------------------------------------

TEST(LifeCycle, RequestsBeforeInitializeAreRefused)
{
    LsSession session;
    EXPECT_EQ(session.ErrorCodeOf(session.Call("textDocument/hover", At(kMain, 0, 0))), kServerNotInitialized);
}

TEST(LifeCycle, ShutdownThenExitEndsWithSuccess)
{
    LsSession session;
    session.Initialize();
    EXPECT_TRUE(session.Call("shutdown", nullptr).contains("result"));
    EXPECT_EQ(session.ErrorCodeOf(session.Call("workspace/symbol", {{"query", ""}})), kInvalidRequest);
    session.Notify("exit", nullptr);
    EXPECT_TRUE(session.Server().Finished());
    EXPECT_EQ(session.Server().ExitCode(), 0);
}

TEST(LifeCycle, ExitWithoutShutdownEndsWithFailure)
{
    LsSession session;
    session.Initialize();
    session.Notify("exit", nullptr);
    EXPECT_TRUE(session.Server().Finished());
    EXPECT_EQ(session.Server().ExitCode(), 1);
}

TEST(Cancellation, AQueuedRequestIsCancelled)
{
    LsSession session;
    session.Initialize();
    session.Queue({{"jsonrpc", "2.0"}, {"id", 77}, {"method", "workspace/symbol"}, {"params", {{"query", ""}}}});
    session.Queue({{"jsonrpc", "2.0"}, {"method", "$/cancelRequest"}, {"params", {{"id", 77}}}});
    session.Process();
    const Json answer = session.AnswerTo(77);
    EXPECT_EQ(session.ErrorCodeOf(answer), kRequestCancelled);
    EXPECT_EQ(std::count_if(session.Sent().begin(), session.Sent().end(),
                            [](const Json &m) { return m.value("id", Json()) == 77; }),
              1);
}

TEST(Cancellation, AnAnsweredRequestIsNotAnsweredAgain)
{
    LsSession session;
    session.Initialize();
    const Json answer = session.Call("workspace/symbol", {{"query", ""}});
    session.Notify("$/cancelRequest", {{"id", answer["id"]}});
    EXPECT_EQ(std::count_if(session.Sent().begin(), session.Sent().end(),
                            [&](const Json &m) { return m.value("id", Json()) == answer["id"]; }),
              1);
}

} // namespace
} // namespace velmo::ls::test
