// The boards kept in the registry, put back as they were when a test is
// over; while it runs, none are kept, as at the very first start.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/board_store.h"

class BoardsKept {
public:
    BoardsKept()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, BOARDS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return;
        for (DWORD index = 0;; ++index) {
            Value value;
            value.name.resize(256);
            value.data.resize(64 * 1024);
            DWORD name_size = static_cast<DWORD>(value.name.size());
            DWORD data_size = static_cast<DWORD>(value.data.size());
            if (RegEnumValueW(key, index, value.name.data(), &name_size, nullptr, &value.type, value.data.data(),
                              &data_size) != ERROR_SUCCESS)
                break;
            value.name.resize(name_size);
            value.data.resize(data_size);
            kept_.push_back(std::move(value));
        }
        RegCloseKey(key);
        RegDeleteTreeW(HKEY_CURRENT_USER, BOARDS_KEY);
    }
    ~BoardsKept()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, BOARDS_KEY);
        RegDeleteKeyW(HKEY_CURRENT_USER, BOARDS_KEY);
        for (const Value& value : kept_)
            RegSetKeyValueW(HKEY_CURRENT_USER, BOARDS_KEY, value.name.c_str(), value.type, value.data.data(),
                            static_cast<DWORD>(value.data.size()));
    }
    BoardsKept(const BoardsKept&) = delete;
    BoardsKept& operator=(const BoardsKept&) = delete;

private:
    struct Value {
        std::wstring name;
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    std::vector<Value> kept_;
};
