// The Debug Adapter Protocol's framing on a pair of file descriptors: each
// message is a "Content-Length: N" header, an empty line and N bytes of
// JSON. Sending is safe from any thread; every message gets the next "seq".
#pragma once

#include <nlohmann/json.hpp>

#include <mutex>
#include <string>

namespace velsim {

class CDapChannel {
public:
    CDapChannel(int inputFd, int outputFd)
        : m_input(inputFd)
        , m_output(outputFd)
    {
    }

    // The next message; false at the end of the input or on a broken frame.
    bool Read(nlohmann::json &message);

    void Respond(const nlohmann::json &request, nlohmann::json body = nlohmann::json::object());
    void Fail(const nlohmann::json &request, const std::string &message);
    void Event(const std::string &event, nlohmann::json body = nlohmann::json::object());

private:
    void Send(nlohmann::json message);
    bool Fill(); // reads more input into m_buffer; false at the end

    int m_input;
    int m_output;
    std::string m_buffer;
    std::mutex m_sendMutex;
    int m_seq = 1;
};

} // namespace velsim
