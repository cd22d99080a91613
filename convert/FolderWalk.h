// The folder trees' listing work, free of windows: a stack of pending
// folder listings, each adding a folder's sub-folders under its tree item
// and, while depth remains, pushing them in turn. The stack grows as it
// must, so no tree is too wide or too deep for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

typedef uintptr_t FolderItem;   // a tree item, opaque here

struct FolderEntry {
    std::string name;
    bool isFolder = false;
};

// Where the names come from: the file system on Windows, a table in tests.
class FolderSource {
public:
    virtual ~FolderSource() = default;
    // The entries of a folder; false when it cannot be listed.
    virtual bool List(const std::string& folder, std::vector<FolderEntry>& entries) = 0;
};

// Where listed folders go: a tree control on Windows.
class FolderTreeSink {
public:
    virtual ~FolderTreeSink() = default;
    virtual FolderItem AddFolder(FolderItem parent, const std::string& name) = 0;
};

// The entries of a folder that are files (not folders, not "." or "..").
std::vector<std::string> ListFileNames(FolderSource& source, const std::string& folder);

struct FolderJob {
    FolderItem item;
    std::string path;
    int depth;   // levels still to list below the item
};

class FolderWalk {
public:
    FolderWalk() { jobs_.reserve(800); }
    void Clear() { jobs_.clear(); }
    void Push(FolderItem item, const std::string& path, int depth) { jobs_.push_back({item, path, depth}); }
    bool Empty() const { return jobs_.empty(); }
    size_t Size() const { return jobs_.size(); }
    // Takes the top job: its folder's sub-folders join the tree under its
    // item, and are pushed when the depth left is still above 0. A folder
    // that cannot be listed adds nothing.
    void ListNext(FolderSource& source, FolderTreeSink& tree);

private:
    std::vector<FolderJob> jobs_;
};
