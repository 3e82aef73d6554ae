#include "Paths.h"

#include <filesystem>
#include <vector>

namespace {

std::string Slashes(std::string name)
{
    for (char &c : name) {
        if (c == '\\')
            c = '/';
    }
    return name;
}

// Position of the extension's "." in the file-name part, npos if none.
size_t ExtensionPos(const std::string &name)
{
    const size_t slash = name.find_last_of("/\\");
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = name.rfind('.');
    return dot != std::string::npos && dot >= start ? dot : std::string::npos;
}

// Drops "." and empty components; ".." removes the component before it.
std::string Canonical(const std::string &path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string &part : parts)
        result += "/" + part;
    return result.empty() ? "/" : result;
}

} // namespace

std::string AddDefaultExtension(const std::string &name, const std::string &extension)
{
    return ExtensionPos(name) == std::string::npos ? name + extension : name;
}

std::string ReplaceExtension(const std::string &name, const std::string &extension)
{
    const size_t dot = ExtensionPos(name);
    return (dot == std::string::npos ? name : name.substr(0, dot)) + extension;
}

std::string MakeFullPath(const std::string &name, const std::string &base)
{
    std::string path = Slashes(!name.empty() && name[0] == '\\' ? name.substr(1) : name);
    if (!path.empty() && path[0] == '/')
        return path;
    const std::string dir = Slashes(base.empty() ? CurrentDirectory() : base);
    return Canonical(dir + "/" + path);
}

std::string DirectoryOf(const std::string &path)
{
    const size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos)
        return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string CurrentDirectory()
{
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::current_path(error);
    return error ? std::string() : dir.string();
}
