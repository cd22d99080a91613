#include "FolderWalk.h"

#include "ConvertTables.h"

namespace {

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

}  // namespace

std::vector<std::string> ListFileNames(FolderSource& source, const std::string& folder)
{
    std::vector<FolderEntry> entries;
    std::vector<std::string> names;
    if (!source.List(folder, entries))
        return names;
    for (const FolderEntry& entry : entries)
        if (!entry.isFolder && !IsDotEntry(entry.name))
            names.push_back(entry.name);
    return names;
}

void FolderWalk::ListNext(FolderSource& source, FolderTreeSink& tree)
{
    if (jobs_.empty())
        return;
    FolderJob job = std::move(jobs_.back());
    jobs_.pop_back();
    int depth = job.depth - 1;
    std::vector<FolderEntry> entries;
    if (!source.List(job.path, entries))
        return;
    for (const FolderEntry& entry : entries) {
        if (!entry.isFolder || IsDotEntry(entry.name))
            continue;
        FolderItem item = tree.AddFolder(job.item, entry.name);
        if (depth > 0 && item)
            Push(item, JoinPath(job.path, entry.name), depth);
    }
}
