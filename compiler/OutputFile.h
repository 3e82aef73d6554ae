// Writes output files so that a failure never leaves a file that looks
// complete. The text goes to a temporary file beside the target and only then
// is renamed over the target. A file flushed to the disk before its rename
// holds either the old or the new contents after a power cut too.
#pragma once

#include <string>

// Whether a file is flushed to the disk before its rename. The program image
// is: a download trusts a .hex newer than its source, so it must never be
// found empty. The listing and the line map are read by people and checked
// by their readers (the map by its version line); a power cut may cost their
// contents but nothing else, and flushing them would double the compile
// time of a full program.
enum class Flush { kToDisk, kByTheSystem };

// One output file on its way to its place: Write puts the contents into a
// temporary file in the target's folder (a short name, so it fits whatever
// the target's name), Commit renames it over the target. A file neither
// committed nor discarded is removed when the object goes.
class CPendingFile {
public:
    CPendingFile() = default;
    CPendingFile(const CPendingFile &) = delete;
    CPendingFile &operator=(const CPendingFile &) = delete;
    ~CPendingFile()
    {
        Discard();
    }

    bool Write(const std::string &path, const std::string &contents, Flush flush = Flush::kToDisk);
    bool Commit();
    void Discard();

private:
    std::string m_path;
    std::string m_temp;
};

// Write and Commit in one; on failure an older file of the target's name is
// removed too, since it would pass for the result of this build.
bool WriteFileAtomically(const std::string &path, const std::string &contents, Flush flush = Flush::kToDisk);

// Removes a file (never a directory) of that name, if there is one.
void RemoveOutputFile(const std::string &path);

// Text with every "\n" turned into CR LF, as in every line of the HEX file
// and the listing.
std::string WithCrLf(const std::string &text);
