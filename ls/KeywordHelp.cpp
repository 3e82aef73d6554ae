#include "KeywordHelp.h"

#include "lang/ArgumentSyntax.h"
#include "lang/CharClass.h"
#include "lang/CompletionHints.h"

namespace velmo::ls {

using namespace velmo::lang;

namespace {

constexpr std::string_view kEntryStart = "{{entry ";
constexpr std::string_view kFence = "```";

// The completion list's row of a keyword; a numbered keyword (ADC3) finds
// its family's row (Adc).
const Hint *HintOf(const KeywordInfo &keyword)
{
    const std::string_view name = keyword.name;
    for (const Hint &hint : CompletionHints()) {
        const std::string_view text = hint.insertText;
        if (EqualNoCase(text, name))
            return &hint;
        if (keyword.number >= 0 && name.size() == text.size() + 1 && EqualNoCase(name.substr(0, text.size()), text))
            return &hint;
    }
    return nullptr;
}

// The words of one argument kind, or "" for the punctuation of a syntax row.
std::string KindWords(char kind)
{
    const char *name = ArgumentKindName(kind);
    return name ? name : "";
}

std::string Trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

// The text without Markdown's emphasis and code marks.
std::string PlainText(std::string_view text)
{
    std::string plain;
    for (const char c : text) {
        if (c != '`' && c != '*')
            plain += c;
    }
    return plain;
}

// The first sentence of a paragraph: up to ". " or the paragraph's end.
std::string FirstSentence(const std::string &paragraph)
{
    const size_t stop = paragraph.find(". ");
    return stop == std::string::npos ? paragraph : paragraph.substr(0, stop + 1);
}

// The first paragraph of ordinary text at or after `pos`: fenced blocks,
// headings and list items are passed over.
std::string NextParagraph(std::string_view text, size_t pos)
{
    std::string paragraph;
    bool fenced = false;
    while (pos < text.size()) {
        const size_t end = text.find('\n', pos);
        const std::string line = Trim(text.substr(pos, end == std::string_view::npos ? text.size() - pos : end - pos));
        pos = end == std::string_view::npos ? text.size() : end + 1;
        if (line.rfind(kFence, 0) == 0) {
            fenced = !fenced;
            continue;
        }
        if (fenced || line.rfind("{{", 0) == 0 || line.rfind("#", 0) == 0 || line.rfind("|", 0) == 0)
            continue;
        if (line.empty()) {
            if (!paragraph.empty())
                break;
            continue;
        }
        paragraph += (paragraph.empty() ? "" : " ") + line;
    }
    return PlainText(paragraph);
}

} // namespace

std::string SyntaxLine(const KeywordInfo &keyword)
{
    std::string line = keyword.name;
    if (const char *arguments = ArgumentSyntax(keyword.symbol)) {
        for (const char c : std::string_view(arguments)) {
            const std::string words = KindWords(c);
            if (!words.empty())
                line += ' ' + words;
            else if (c == '[' || c == '{')
                line += " [";
            else if (c == ']')
                line += ']';
            else if (c == '}')
                line += "] ...";
            else if (c == ',')
                line += ',';
        }
        return line;
    }
    const Hint *hint = HintOf(keyword);
    return hint ? line + hint->hint : line;
}

std::vector<std::string> SyntaxArguments(const KeywordInfo &keyword)
{
    std::vector<std::string> arguments;
    if (const char *row = ArgumentSyntax(keyword.symbol)) {
        for (const char c : std::string_view(row)) {
            const std::string words = KindWords(c);
            if (!words.empty())
                arguments.push_back(words);
        }
        return arguments;
    }
    const Hint *hint = HintOf(keyword);
    const std::string_view text = hint ? hint->hint : "";
    if (text.size() < 2 || text.front() != '(' || text.back() != ')')
        return arguments;
    std::string current;
    for (const char c : text.substr(1, text.size() - 2)) {
        if (c == ',') {
            arguments.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    arguments.push_back(current);
    return arguments;
}

std::map<std::string, std::string> EntryDescriptions(std::string_view manual)
{
    std::map<std::string, std::string> descriptions;
    for (size_t at = manual.find(kEntryStart); at != std::string_view::npos; at = manual.find(kEntryStart, at + 1)) {
        const size_t close = manual.find("}}", at);
        if (close == std::string_view::npos)
            break;
        const std::string sentence = FirstSentence(NextParagraph(manual, close + 2));
        std::string_view names = manual.substr(at + kEntryStart.size(), close - at - kEntryStart.size());
        while (!names.empty()) {
            const size_t comma = names.find(',');
            std::string name = Trim(names.substr(0, comma));
            for (char &c : name)
                c = UpperAscii(c);
            if (!name.empty() && !sentence.empty())
                descriptions.emplace(name, sentence);
            names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
        }
    }
    return descriptions;
}

std::string ManualDescription(const std::string &upperKeyword)
{
    static const std::map<std::string, std::string> kDescriptions = EntryDescriptions(ManualChapters());
    auto it = kDescriptions.find(upperKeyword);
    // A numbered keyword (ADC3) is described under its family's first member or name.
    for (std::string name = upperKeyword; it == kDescriptions.end() && !name.empty() && IsDigit(name.back());) {
        name.pop_back();
        it = kDescriptions.find(name);
        if (it == kDescriptions.end())
            it = kDescriptions.find(name + "0");
    }
    return it == kDescriptions.end() ? std::string() : it->second;
}

} // namespace velmo::ls
