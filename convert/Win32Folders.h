// The file system as a folder source, through the system's file search:
// only the entries the ANSI calls can open are listed.
#pragma once

#include "FolderWalk.h"

class Win32FolderSource : public FolderSource {
public:
    bool List(const std::string& folder, std::vector<FolderEntry>& entries) override;
};
