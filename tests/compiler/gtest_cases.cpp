// Runs velc on every case folder under data/cases/<family>/<case>/ and
// compares what it produced with what the folder expects. A case folder holds:
//   prog.bas       the main program (plus any include files it needs)
//   args           optional: the command-line argument (default "prog.bas"),
//                  empty for a run without argument
//   stdout.txt     expected standard output; "{DIR}" stands for the folder
//                  in which velc ran (a scratch copy of the case folder)
//   image.txt      optional: expected image bytes in hex ("#" starts a
//                  comment); checked against the HEX file velc wrote
//   expected.hex   optional: the exact HEX file
//   expected.lst   optional: the exact listing
// Without image.txt and expected.hex, velc must write no HEX file; without
// image.txt and expected.lst, no listing. Output files are named after the
// argument (prog.hex, prog.lst).
// Setting VELMO_UPDATE_CASES=1 rewrites stdout.txt, image.txt and
// expected.lst of every case from what velc produced (review the diff).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const fs::path kCases = fs::path(VELMO_TEST_DATA) / "cases";

std::string ReadFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReplaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string Trim(const std::string &s)
{
    const size_t first = s.find_first_not_of(" \t\r\n");
    const size_t last = s.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? "" : s.substr(first, last - first + 1);
}

std::vector<int> ParseImageText(const std::string &text)
{
    std::vector<int> bytes;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string word;
        while (words >> word)
            bytes.push_back(std::stoi(word, nullptr, 16));
    }
    return bytes;
}

// Decodes a HEX file into the image it describes, checking every record's
// checksum, line end and address sequence on the way.
std::vector<int> DecodeHex(const std::string &hex)
{
    std::vector<int> image;
    std::istringstream lines(hex);
    std::string line;
    while (std::getline(lines, line)) {
        EXPECT_TRUE(!line.empty() && line.back() == '\r') << "line without CR LF: " << line;
        line = Trim(line);
        if (line == ":00000001FF")
            break;
        int sum = 0;
        std::vector<int> record;
        for (size_t i = 1; i + 1 < line.size(); i += 2)
            record.push_back(std::stoi(line.substr(i, 2), nullptr, 16));
        for (int b : record)
            sum += b;
        EXPECT_EQ(sum & 0xFF, 0) << "bad checksum: " << line;
        EXPECT_EQ((record[1] << 8) | record[2], static_cast<int>(image.size())) << line;
        image.insert(image.end(), record.begin() + 4, record.end() - 1);
    }
    return image;
}

std::string ImageText(const std::vector<int> &image)
{
    std::string text;
    for (size_t i = 0; i < image.size(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", image[i]);
        text += hex;
        text += (i % 16 == 15 || i + 1 == image.size()) ? "\n" : " ";
    }
    return text;
}

std::string RunVelc(const fs::path &dir, const std::string &args)
{
    const char *bin = std::getenv("VELMO_BIN_DIR");
    const std::string velc = bin && *bin ? std::string(bin) + "/velc" : std::string(VELC_PROGRAM);
    const std::string command = "cd '" + dir.string() + "' && '" + velc + "' " + args;
    std::string output;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        EXPECT_EQ(pclose(pipe), 0) << "velc must exit with 0";
    }
    return output;
}

// The output file velc writes for an argument, relative to the folder it ran
// in: shell quotes removed, "\\" taken as "/", a leading separator dropped.
fs::path OutputName(const std::string &args, const char *extension)
{
    std::string name;
    for (char c : args.empty() ? std::string("prog") : args) {
        if (c != '\'' && c != '"')
            name += c == '\\' ? '/' : c;
    }
    if (!name.empty() && name[0] == '/')
        name.erase(0, 1);
    return fs::path(name).replace_extension(extension);
}

std::vector<std::string> CaseNames()
{
    std::vector<std::string> names;
    if (!fs::exists(kCases))
        return names;
    for (const auto &entry : fs::recursive_directory_iterator(kCases)) {
        if (entry.is_regular_file() && entry.path().filename() == "stdout.txt") {
            names.push_back(fs::relative(entry.path().parent_path(), kCases).generic_string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

class CompilerCase : public testing::TestWithParam<std::string> { };

TEST_P(CompilerCase, MatchesExpectedOutput)
{
    const fs::path source = kCases / GetParam();
    const fs::path work = fs::temp_directory_path() / ("velc-cases-" + std::to_string(getpid())) / GetParam();
    fs::remove_all(work);
    fs::create_directories(work);
    fs::copy(source, work, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    const std::string args = fs::exists(source / "args") ? Trim(ReadFile(source / "args")) : "prog.bas";

    const std::string output = RunVelc(work, args);
    const fs::path hexFile = work / OutputName(args, ".hex");
    const fs::path lstFile = work / OutputName(args, ".lst");
    const bool wroteHex = fs::is_regular_file(hexFile);
    const bool wroteLst = fs::is_regular_file(lstFile);

    if (std::getenv("VELMO_UPDATE_CASES")) {
        WriteFile(source / "stdout.txt", ReplaceAll(output, work.string(), "{DIR}"));
        if (wroteHex)
            WriteFile(source / "image.txt", ImageText(DecodeHex(ReadFile(hexFile))));
        if (wroteLst)
            WriteFile(source / "expected.lst", ReadFile(lstFile));
    }

    EXPECT_EQ(output, ReplaceAll(ReadFile(source / "stdout.txt"), "{DIR}", work.string()));
    const bool wantImage = fs::exists(source / "image.txt");
    if (wantImage) {
        ASSERT_TRUE(wroteHex) << hexFile;
        EXPECT_EQ(DecodeHex(ReadFile(hexFile)), ParseImageText(ReadFile(source / "image.txt")));
    }
    if (fs::exists(source / "expected.hex")) {
        EXPECT_EQ(ReadFile(hexFile), ReadFile(source / "expected.hex"));
    } else if (!wantImage) {
        EXPECT_FALSE(wroteHex) << "no HEX file expected: " << hexFile;
    }
    if (fs::exists(source / "expected.lst")) {
        EXPECT_EQ(ReadFile(lstFile), ReadFile(source / "expected.lst"));
    } else if (!wantImage) {
        EXPECT_FALSE(wroteLst) << "no listing expected: " << lstFile;
    }
    fs::remove_all(work);
}

std::string CaseTestName(const testing::TestParamInfo<std::string> &info)
{
    std::string name = info.param;
    for (char &c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, CompilerCase, testing::ValuesIn(CaseNames()), CaseTestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CompilerCase);

} // namespace
