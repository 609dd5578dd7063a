// The settings store against the real HKEY_CURRENT_USER of the prefix.
#include <gtest/gtest.h>

#include "engine/Registry.h"
#include "engine/Choices.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <stdexcept>

using engine::UserFolder;
using Names = std::vector<std::wstring>;
using Folders = std::vector<UserFolder>;

namespace {

const std::wstring kKey = engine::kSettingsKey;
const std::wstring kParent = L"Software\\Quellmoor Software";
const Names kSubKeys = {L"RecentDocs", L"RecycleBin", L"UserDirectories",
                        L"UserSubDir", L"WTFSubDir",  L"WindowsTempFiles"};

// Choices that differ from every stored value below, so each test sees which were read.
engine::Choices untouched() {
    engine::Choices c;
    c.windowsTemp = false;
    c.windowsTempSubFolders = true;
    c.recycleBin = false;
    c.recentDocuments = false;
    c.userFolders = {{L"C:\\kept", true}};
    c.userSubFolders = false;
    return c;
}

// Raw registry access for arranging and inspecting the key.
HKEY openKey(const std::wstring& path) {
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key);
    return key;
}

using testsupport::keyExists;
void setValue(const std::wstring& name, DWORD type, const void* data, DWORD size) {
    testsupport::setValue(kKey, name, type, data, size);
}
void setDword(const std::wstring& name, DWORD value) {
    testsupport::setDword(kKey, name, value);
}
void setText(const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ) {
    testsupport::setText(kKey, name, text, type);
}
void deleteValue(const std::wstring& name) {
    testsupport::deleteValue(kKey, name);
}
using Stored = testsupport::StoredValue;
Stored stored(const std::wstring& name, const std::wstring& path = kKey) {
    return testsupport::storedValue(path, name);
}
std::string dword(DWORD value) {
    return std::string(reinterpret_cast<char*>(&value), 4);
}

DWORD valueCount(const std::wstring& path) {
    engine::KeyHandle key(openKey(path));
    DWORD values = 0;
    RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                     nullptr, nullptr, nullptr, nullptr);
    return values;
}

Names subKeys(const std::wstring& path) {
    engine::KeyHandle key(openKey(path));
    Names names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(std::size(name));
        if (RegEnumKeyExW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void expectEmptyLayout() {
    ASSERT_TRUE(keyExists(kKey));
    EXPECT_EQ(valueCount(kKey), 0u);
    EXPECT_EQ(subKeys(kKey), kSubKeys);
    for (const auto& sub : kSubKeys) {
        EXPECT_EQ(valueCount(kKey + L"\\" + sub), 0u) << sub;
        EXPECT_TRUE(subKeys(kKey + L"\\" + sub).empty()) << sub;
    }
}

void storeAllSix() {
    setDword(L"WindowsTempFiles", 1);
    setDword(L"WTFSubDir", 0);
    setDword(L"RecycleBin", 7); // any value but 0 is ticked
    setDword(L"RecentDocs", 1);
    setText(L"UserDirectories", L"*C:\\one\r\nD:\\two\r\n*C:\\three\r\n");
    setDword(L"UserSubDir", 1);
}

// What storeAllSix() loads as.
engine::Choices allSix() {
    engine::Choices c;
    c.windowsTemp = true;
    c.windowsTempSubFolders = false;
    c.recycleBin = true;
    c.recentDocuments = true;
    c.userFolders = {{L"C:\\one", true}, {L"D:\\two", false}, {L"C:\\three", true}};
    c.userSubFolders = true;
    return c;
}

// Each test starts without the settings key and leaves the registry as it found it.
class SettingsStore : public ::testing::Test {
protected:
    testsupport::RegistryGuard guard{kParent, testsupport::RegistryGuard::Start::Empty};
};

} // namespace

TEST(ListText, LineBreaksTicksAndEmptyEntries) {
    using engine::SplitListText;
    // CR LF, a lone CR and a lone LF each end a line; no line follows the last break.
    EXPECT_EQ(SplitListText(L""), Names{});
    EXPECT_EQ(SplitListText(L"\r\n"), Names{L""});
    EXPECT_EQ(SplitListText(L"a\n\rb\r\r\nc"), (Names{L"a", L"", L"b", L"", L"c"}));
    // Lines are taken as they stand: not trimmed, duplicates kept, one "*" ticks.
    EXPECT_EQ(engine::SetUserFolderList({L" *x ", L"**odd", L"*C:\\a", L"*C:\\a"}),
              (Folders{{L" *x ", false}, {L"*odd", true}, {L"C:\\a", true}, {L"C:\\a", true}}));
    // An empty entry would later name the root of the current drive: it is dropped.
    EXPECT_EQ(engine::SetUserFolderList({L"", L"C:\\a", L"*", L"*C:\\b", L""}),
              (Folders{{L"C:\\a", false}, {L"C:\\b", true}}));
}

TEST_F(SettingsStore, NoKeyCreatesTheEmptyLayoutAndSetsNothing) {
    engine::Choices choices = untouched();
    choices.Load();
    EXPECT_EQ(choices, untouched());
    expectEmptyLayout();
}

TEST_F(SettingsStore, AllSixValuesLoad) {
    storeAllSix();
    engine::Choices choices = untouched();
    choices.Load();
    EXPECT_EQ(choices, allSix());
    // A good key is not touched: no sub-keys are made.
    EXPECT_TRUE(subKeys(kKey).empty());
}

TEST_F(SettingsStore, ABadValueStopsLoadingAndRemakesTheLayout) {
    struct Case {
        const wchar_t* what;
        void (*spoil)();
        int loaded; // how many of the values before the list were taken
    };
    const Case cases[] = {
        {L"UserSubDir missing", [] { deleteValue(L"UserSubDir"); }, 4},
        {L"WindowsTempFiles as text", [] { setText(L"WindowsTempFiles", L"1"); }, 0},
        {L"RecycleBin longer than four bytes",
         [] {
             const unsigned long long wide = 1;
             setValue(L"RecycleBin", REG_QWORD, &wide, sizeof wide);
         },
         2},
        {L"RecentDocs as binary",
         [] {
             const DWORD one = 1;
             setValue(L"RecentDocs", REG_BINARY, &one, sizeof one);
         },
         3},
        {L"UserDirectories as a number", [] { setDword(L"UserDirectories", 1); }, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::deleteKeyTree(kParent);
        storeAllSix();
        c.spoil();
        engine::Choices choices = untouched();
        choices.Load();
        // Values are taken in order up to the bad one; the list, applied last, never is.
        engine::Choices expected = untouched();
        const engine::Choices all = allSix();
        if (c.loaded > 0)
            expected.windowsTemp = all.windowsTemp;
        if (c.loaded > 1)
            expected.windowsTempSubFolders = all.windowsTempSubFolders;
        if (c.loaded > 2)
            expected.recycleBin = all.recycleBin;
        if (c.loaded > 3)
            expected.recentDocuments = all.recentDocuments;
        EXPECT_EQ(choices, expected);
        // The layout is made again around the values, which stay as they were.
        EXPECT_EQ(subKeys(kKey), kSubKeys);
        EXPECT_TRUE(stored(L"WindowsTempFiles").present);
    }
}

TEST_F(SettingsStore, AMissingListLoadsEmptyAndLoadingGoesOn) {
    storeAllSix();
    deleteValue(L"UserDirectories");
    engine::Choices choices = untouched();
    choices.Load();
    engine::Choices expected = allSix();
    expected.userFolders.clear();
    EXPECT_EQ(choices, expected);
    EXPECT_TRUE(subKeys(kKey).empty());
}

TEST_F(SettingsStore, ListTextIsReadAsStored) {
    const struct {
        std::wstring text;
        DWORD type;
        Folders expected;
    } cases[] = {
        {L"*C:\\one\nD:\\two", REG_SZ, {{L"C:\\one", true}, {L"D:\\two", false}}},
        {L"*C:\\one\rD:\\two\n", REG_SZ, {{L"C:\\one", true}, {L"D:\\two", false}}},
        {L"*%TEMP%\\x\r\n", REG_EXPAND_SZ, {{L"%TEMP%\\x", true}}},
        {std::wstring(L"C:\\a\r\n\0C:\\b\r\n", 14), REG_SZ, {{L"C:\\a", false}}},
        {L"", REG_SZ, {}},
    };
    for (const auto& c : cases) {
        testsupport::deleteKeyTree(kParent);
        storeAllSix();
        setValue(L"UserDirectories", c.type, c.text.data(),
                 static_cast<DWORD>(c.text.size() * sizeof(wchar_t)));
        engine::Choices choices = untouched();
        choices.Load();
        EXPECT_EQ(choices.userFolders, c.expected) << c.text;
        EXPECT_TRUE(choices.userSubFolders) << c.text;
    }
}

TEST_F(SettingsStore, SaveWritesTheSixValues) {
    engine::CreateSettingsKey();
    engine::Choices choices;
    choices.windowsTemp = true;
    choices.recentDocuments = true;
    choices.userSubFolders = true;
    choices.userFolders = {{L"C:\\first folder", true}, {L"D:\\second", false}};
    choices.Save();
    const std::pair<const wchar_t*, DWORD> flags[] = {{L"WindowsTempFiles", 1},
                                                      {L"WTFSubDir", 0},
                                                      {L"RecycleBin", 0},
                                                      {L"RecentDocs", 1},
                                                      {L"UserSubDir", 1}};
    for (const auto& [name, value] : flags) {
        const Stored s = stored(name);
        EXPECT_EQ(s.type, static_cast<DWORD>(REG_DWORD)) << name;
        EXPECT_EQ(s.data, dword(value)) << name;
    }
    const Stored list = stored(L"UserDirectories");
    EXPECT_EQ(list.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(list.text(), std::wstring(L"*C:\\first folder\r\nD:\\second\r\n") + L'\0');

    // What was saved loads back the same.
    engine::Choices again = untouched();
    again.Load();
    EXPECT_EQ(again, choices);

    // An empty list is the empty text and its zero.
    engine::Choices().Save();
    EXPECT_EQ(stored(L"UserDirectories").text(), std::wstring(1, L'\0'));
    EXPECT_EQ(valueCount(kKey), 6u);
}

TEST_F(SettingsStore, SavingWithoutTheKeyMakesTheLayoutAndWritesNothing) {
    engine::Choices choices;
    choices.windowsTemp = true;
    choices.userFolders = {{L"C:\\x", true}};
    choices.Save();
    expectEmptyLayout();
    // The next start finds every choice clear.
    engine::Choices next;
    next.Load();
    EXPECT_EQ(next, engine::Choices());
}

TEST_F(SettingsStore, CreatingKeepsWhatExists) {
    storeAllSix();
    setDword(L"Marker", 5);
    engine::CreateSettingsKey();
    EXPECT_EQ(stored(L"Marker").data, dword(5));
    EXPECT_EQ(valueCount(kKey), 7u);
    EXPECT_EQ(subKeys(kKey), kSubKeys);
}

TEST_F(SettingsStore, OnlyAFailedKeyCreationLeavesTheStore) {
    // A non-volatile key cannot be made under a volatile one: the store's key fails.
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kParent.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(raw);
    const std::wstring expected = L"Failed to create key " + kKey;
    engine::Choices choices;
    try {
        choices.Load();
        ADD_FAILURE() << "Load raised nothing";
    } catch (const engine::RegistryError& error) {
        EXPECT_EQ(error.message(), expected);
    }
    try {
        choices.Save();
        ADD_FAILURE() << "Save raised nothing";
    } catch (const engine::RegistryError& error) {
        EXPECT_EQ(error.message(), expected);
    }
    EXPECT_FALSE(keyExists(kKey));
}

TEST_F(SettingsStore, KeyCreationStopsAtTheFirstFailure) {
    // The store's key itself is volatile: it opens, but its first sub-key cannot be made.
    HKEY raw = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kParent.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &raw, nullptr);
    RegCloseKey(raw);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(raw);
    try {
        engine::CreateSettingsKey();
        ADD_FAILURE() << "CreateSettingsKey raised nothing";
    } catch (const engine::RegistryError& error) {
        EXPECT_EQ(error.message(), L"Failed to create key " + kKey + L"\\WindowsTempFiles");
    }
    EXPECT_TRUE(subKeys(kKey).empty());
}

TEST(RegistryWrapper, ReportsEachFailureWithItsFixedText) {
    testsupport::RegistryGuard guard(kParent, testsupport::RegistryGuard::Start::Empty);
    setText(L"Text", L"a"); // four bytes with its zero: read in full, then refused by type
    setDword(L"Number", 0);
    const DWORD two[] = {1, 2};
    setValue(L"Long", REG_BINARY, two, sizeof two);
    engine::Registry registry;
    EXPECT_FALSE(registry.openKey(kKey + L"\\missing"));
    ASSERT_TRUE(registry.openKey(kKey));
    const auto message = [](auto&& step) -> std::wstring {
        try {
            step();
        } catch (const engine::RegistryError& error) {
            return error.message();
        }
        return L"no error";
    };
    EXPECT_EQ(message([&] { registry.readBool(L"Absent"); }), L"Failed to get data for 'Absent'");
    EXPECT_EQ(message([&] { registry.readBool(L"Long"); }), L"Failed to get data for 'Long'");
    EXPECT_EQ(message([&] { registry.readBool(L"Text"); }), L"Invalid data type for 'Text'");
    EXPECT_EQ(message([&] { registry.readString(L"Number"); }), L"Invalid data type for 'Number'");
    EXPECT_EQ(registry.readString(L"Absent"), L"");
    EXPECT_FALSE(registry.readBool(L"Number"));
    registry.closeKey();
    EXPECT_EQ(message([&] { registry.writeBool(L"Flag", true); }),
              L"Failed to set data for 'Flag'");
    EXPECT_EQ(message([&] { registry.writeString(L"Words", L"x"); }),
              L"Failed to set data for 'Words'");
}
