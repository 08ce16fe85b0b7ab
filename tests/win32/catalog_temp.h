#pragma once
// A fresh folder below the temporary folder for the options and catalog tests, removed
// with its files at the end.
#include "win32/wide_text.h"

#include <windows.h>

#include <string>

namespace orvan::testing {

class CatalogTempFolder {
public:
    CatalogTempFolder() {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        root_ = win32::Narrow(temp) + "orvan-cat-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount64()) + "-" + std::to_string(++counter_);
        CreateDirectoryW(win32::Wide(root_).c_str(), nullptr);
    }
    ~CatalogTempFolder() { Clear(root_); }
    CatalogTempFolder(const CatalogTempFolder&) = delete;
    CatalogTempFolder& operator=(const CatalogTempFolder&) = delete;

    std::string Path(const std::string& relative = "") const {
        return relative.empty() ? root_ : root_ + "\\" + relative;
    }
    std::wstring WidePath(const std::string& relative = "") const {
        return win32::Wide(Path(relative));
    }
    void WriteBytes(const std::string& relative, const std::string& bytes) const {
        HANDLE file = CreateFileW(WidePath(relative).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    std::string ReadBytes(const std::string& relative) const {
        std::string bytes;
        HANDLE file = CreateFileW(WidePath(relative).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return bytes;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
            bytes.append(buffer, got);
        CloseHandle(file);
        return bytes;
    }

private:
    static void Clear(const std::string& folder) {
        WIN32_FIND_DATAW data{};
        HANDLE find = FindFirstFileW(win32::Wide(folder + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = win32::Narrow(data.cFileName);
                if (name == "." || name == "..")
                    continue;
                const std::string path = folder + "\\" + name;
                SetFileAttributesW(win32::Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Clear(path);
                else
                    DeleteFileW(win32::Wide(path).c_str());
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(win32::Wide(folder).c_str());
    }

    std::string root_;
    static inline int counter_ = 0;
};

} // namespace orvan::testing
