// velsim --dap from the protocol's side: the framing of messages, the answers
// to requests that cannot be served, the capabilities, and a launch of a
// program image with its line map up to a breakpoint.
#include "DapChannel.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>

namespace {

using nlohmann::json;
using simtest::ScratchDir;

// velsim --dap as a child process, spoken to through two pipes.
class Adapter {
public:
    Adapter()
    {
        int toChild[2], fromChild[2];
        EXPECT_EQ(::pipe(toChild), 0);
        EXPECT_EQ(::pipe(fromChild), 0);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(toChild[0], STDIN_FILENO);
            ::dup2(fromChild[1], STDOUT_FILENO);
            for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]})
                ::close(fd);
            const std::string velsim = simtest::BinDir() + "/velsim";
            ::execl(velsim.c_str(), velsim.c_str(), "--dap", static_cast<char *>(nullptr));
            ::_exit(127);
        }
        ::close(toChild[0]);
        ::close(fromChild[1]);
        m_in = toChild[1];
        m_out = fromChild[0];
        m_reader = std::make_unique<velsim::CDapChannel>(m_out, -1);
    }
    ~Adapter()
    {
        ::close(m_in);
        ::close(m_out);
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
    void Write(const std::string &bytes)
    {
        ASSERT_EQ(::write(m_in, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    static std::string Frame(const json &message)
    {
        const std::string body = message.dump();
        return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    }
    int Send(const std::string &command, const json &arguments = json::object())
    {
        Write(Frame({{"seq", ++m_seq}, {"type", "request"}, {"command", command}, {"arguments", arguments}}));
        return m_seq;
    }
    // The next message that is the response to `seq`, or the named event;
    // others are skipped.
    json Await(int seq, const std::string &event = "")
    {
        json message;
        while (m_reader->Read(message)) {
            if (message["type"] == "response" && message["request_seq"] == seq)
                return message;
            if (!event.empty() && message["type"] == "event" && message["event"] == event)
                return message;
        }
        ADD_FAILURE() << "no answer to request " << seq;
        return json::object();
    }
    json Request(const std::string &command, const json &arguments = json::object())
    {
        return Await(Send(command, arguments));
    }

private:
    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    int m_seq = 0;
    std::unique_ptr<velsim::CDapChannel> m_reader;
};

struct Refusal {
    const char *name;
    const char *command;
    const char *arguments; // JSON
    const char *message;
};

const Refusal kRefusals[] = {
    {"UnknownCommand", "stepBack", "{}", "velsim does not support stepBack"},
    {"StackTraceWithoutProgram", "stackTrace", "{\"threadId\":1}", "no program is launched"},
    {"VariablesWithoutProgram", "variables", "{\"variablesReference\":1}", "no program is launched"},
    {"BreakpointsWithoutProgram", "setBreakpoints", "{\"source\":{\"path\":\"/x.bas\"}}", "no program is launched"},
    {"NextWithoutProgram", "next", "{\"threadId\":1}", "no program is launched"},
    {"LaunchWithoutProgram", "launch", "{}", "launch needs \"program\": a .hex file with its .map, or a .bas file"},
    {"LaunchOfAMissingImage", "launch", "{\"program\":\"/nonexistent/p.hex\"}", "/nonexistent/p.hex: cannot open"},
    {"LaunchWithAnUnknownSerialLine", "launch", "{\"program\":\"/x.hex\",\"serialLine\":\"tcp\"}",
     "\"serialLine\" is \"output\" or \"pty\", not \"tcp\""},
};

class Refused : public testing::TestWithParam<Refusal> { };

TEST_P(Refused, WithAMessage)
{
    Adapter adapter;
    const json response = adapter.Request(GetParam().command, json::parse(GetParam().arguments));
    EXPECT_EQ(response["success"], false);
    EXPECT_EQ(response["command"], GetParam().command);
    EXPECT_EQ(response["message"].get<std::string>().rfind(GetParam().message, 0), 0u) << response.dump();
}

INSTANTIATE_TEST_SUITE_P(Dap, Refused, testing::ValuesIn(kRefusals), simtest::CaseName<Refusal>);

TEST(Dap, InitializeAnnouncesWhatTheAdapterDoes)
{
    Adapter adapter;
    const json body = adapter.Request("initialize", {{"adapterID", "velmo"}})["body"];
    for (const char *capability : {"supportsConfigurationDoneRequest", "supportsFunctionBreakpoints",
                                   "supportsConditionalBreakpoints", "supportsHitConditionalBreakpoints",
                                   "supportsDataBreakpoints", "supportsSetVariable", "supportsTerminateRequest"}) {
        EXPECT_EQ(body.value(capability, false), true) << capability;
    }
    EXPECT_EQ(adapter.Request("threads")["body"]["threads"][0]["id"], 1);
}

TEST(Dap, MessagesSplitOrJoinedInAnyWayAreRead)
{
    Adapter adapter;
    const std::string first = Adapter::Frame({{"seq", 1}, {"type", "request"}, {"command", "threads"}});
    const std::string second = Adapter::Frame({{"seq", 2}, {"type", "request"}, {"command", "initialize"}});
    std::string lower = first;
    lower.replace(0, 14, "content-length"); // the header's name in any case
    adapter.Write(lower + second.substr(0, 10));
    adapter.Write(second.substr(10));
    EXPECT_EQ(adapter.Await(1)["command"], "threads");
    EXPECT_EQ(adapter.Await(2)["command"], "initialize");
}

TEST(Dap, AnImageWithoutItsLineMapIsRefused)
{
    ScratchDir dir;
    const auto hex = simtest::CompileProgram(dir, "PRINT 1\n");
    simtest::fs::remove(dir / "prog.map");
    Adapter adapter;
    const json response = adapter.Request("launch", {{"program", hex.string()}});
    EXPECT_EQ(response["success"], false);
    EXPECT_NE(response["message"].get<std::string>().find("no line map"), std::string::npos) << response.dump();
}

TEST(Dap, ImageWithItsMapStopsAtABreakpointInItsSource)
{
    ScratchDir dir;
    const auto hex = simtest::CompileProgram(dir, "' count\nBYTE i\nFOR i = 1 TO 3\n  PRINT i\nNEXT\n");
    Adapter adapter;
    adapter.Request("initialize");
    const int launch = adapter.Send("launch", {{"program", hex.string()}});
    EXPECT_EQ(adapter.Await(launch)["success"], true);
    const json bps = adapter.Request(
        "setBreakpoints", {{"source", {{"path", (dir / "prog.bas").string()}}}, {"breakpoints", {{{"line", 4}}}}});
    EXPECT_EQ(bps["body"]["breakpoints"][0]["verified"], true);
    adapter.Send("configurationDone");
    const json stopped = adapter.Await(-1, "stopped");
    EXPECT_EQ(stopped["body"]["reason"], "breakpoint");
    const json frame = adapter.Request("stackTrace", {{"threadId", 1}})["body"]["stackFrames"][0];
    EXPECT_EQ(frame["line"], 4);
    EXPECT_EQ(frame["source"]["path"], simtest::fs::weakly_canonical(dir / "prog.bas").string());
    const json value = adapter.Request("evaluate", {{"expression", "i * 10"}});
    EXPECT_EQ(value["body"]["result"], "10");
    const json running = adapter.Request("continue", {{"threadId", 1}});
    EXPECT_EQ(running["body"]["allThreadsContinued"], true);
    EXPECT_EQ(adapter.Await(-1, "stopped")["body"]["reason"], "breakpoint");
    EXPECT_EQ(adapter.Request("evaluate", {{"expression", "i"}})["body"]["result"], "2");
    EXPECT_EQ(adapter.Request("disconnect")["success"], true);
}

} // namespace
