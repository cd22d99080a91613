// The limit of the converter's run (bench/convert_throughput.sh runs it under
// Wine): every file of a folder through the same per-file conversion the
// converter makes, in a bare loop, with nothing shown.
//   convert_loop_bench <input folder> <output folder> <export type> <extension>
// Prints "files <n> seconds <s> failed <f>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ConvertFile.h"
#include "ConvertTables.h"

namespace {

std::vector<std::string> FileNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        fprintf(stderr, "usage: convert_loop_bench <input folder> <output folder> <export type> <extension>\n");
        return 2;
    }
    const std::string input = argv[1], output = argv[2], extension = argv[4];
    const int exportType = atoi(argv[3]);
    const std::vector<std::string> names = FileNames(input);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    int failed = 0;
    for (const std::string& name : names) {
        const ConvertResult result = ConvertImageFile(JoinPath(input, name),
                                                      JoinPath(output, OutputFileName(name, extension.c_str())),
                                                      exportType);
        failed += result.converted ? 0 : 1;
    }
    QueryPerformanceCounter(&end);
    printf("files %d seconds %.3f failed %d\n", static_cast<int>(names.size()),
           static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart), failed);
    return failed ? 1 : 0;
}
