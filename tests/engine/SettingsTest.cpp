// The settings store against the real HKEY_CURRENT_USER of the prefix.
#include <gtest/gtest.h>

#include "engine/Registry.h"
#include "engine/Choices.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <stdexcept>

using engine::UserFolder;
using Names = std::vector<std::string>;
using Folders = std::vector<UserFolder>;

namespace {

const std::string kKey = engine::kSettingsKey;
const std::string kParent = "Software\\Quellmoor Software";
const Names kSubKeys = {"RecentDocs", "RecycleBin", "UserDirectories",
                        "UserSubDir", "WTFSubDir",  "WindowsTempFiles"};

// Choices that differ from every stored value below, so each test sees which were read.
engine::Choices untouched() {
    engine::Choices c;
    c.windowsTemp = false;
    c.windowsTempSubFolders = true;
    c.recycleBin = false;
    c.recentDocuments = false;
    c.userFolders = {{"C:\\kept", true}};
    c.userSubFolders = false;
    return c;
}

// Raw registry access for arranging and inspecting the key.
HKEY openKey(const std::string& path) {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key);
    return key;
}

using testsupport::keyExists;
void setValue(const std::string& name, DWORD type, const void* data, DWORD size) {
    testsupport::setValue(kKey, name, type, data, size);
}
void setDword(const std::string& name, DWORD value) {
    testsupport::setDword(kKey, name, value);
}
void setText(const std::string& name, const std::string& text, DWORD type = REG_SZ) {
    testsupport::setText(kKey, name, text, type);
}
void deleteValue(const std::string& name) {
    testsupport::deleteValue(kKey, name);
}
using Stored = testsupport::StoredValue;
Stored stored(const std::string& name, const std::string& path = kKey) {
    return testsupport::storedValue(path, name);
}
std::string dword(DWORD value) {
    return std::string(reinterpret_cast<char*>(&value), 4);
}

DWORD valueCount(const std::string& path) {
    engine::KeyHandle key(openKey(path));
    DWORD values = 0;
    RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                     nullptr, nullptr, nullptr, nullptr);
    return values;
}

Names subKeys(const std::string& path) {
    engine::KeyHandle key(openKey(path));
    Names names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
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
        EXPECT_EQ(valueCount(kKey + "\\" + sub), 0u) << sub;
        EXPECT_TRUE(subKeys(kKey + "\\" + sub).empty()) << sub;
    }
}

void storeAllSix() {
    setDword("WindowsTempFiles", 1);
    setDword("WTFSubDir", 0);
    setDword("RecycleBin", 7); // any value but 0 is ticked
    setDword("RecentDocs", 1);
    setText("UserDirectories", "*C:\\one\r\nD:\\two\r\n*C:\\three\r\n");
    setDword("UserSubDir", 1);
}

// What storeAllSix() loads as.
engine::Choices allSix() {
    engine::Choices c;
    c.windowsTemp = true;
    c.windowsTempSubFolders = false;
    c.recycleBin = true;
    c.recentDocuments = true;
    c.userFolders = {{"C:\\one", true}, {"D:\\two", false}, {"C:\\three", true}};
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
    EXPECT_EQ(SplitListText(""), Names{});
    EXPECT_EQ(SplitListText("\r\n"), Names{""});
    EXPECT_EQ(SplitListText("a\n\rb\r\r\nc"), (Names{"a", "", "b", "", "c"}));
    // Lines are taken as they stand: not trimmed, duplicates kept, one "*" ticks.
    EXPECT_EQ(engine::SetUserFolderList({" *x ", "**odd", "*C:\\a", "*C:\\a"}),
              (Folders{{" *x ", false}, {"*odd", true}, {"C:\\a", true}, {"C:\\a", true}}));
    // An empty entry would later name the root of the current drive: it is dropped.
    EXPECT_EQ(engine::SetUserFolderList({"", "C:\\a", "*", "*C:\\b", ""}),
              (Folders{{"C:\\a", false}, {"C:\\b", true}}));
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
        const char* what;
        void (*spoil)();
        int loaded; // how many of the values before the list were taken
    };
    const Case cases[] = {
        {"UserSubDir missing", [] { deleteValue("UserSubDir"); }, 4},
        {"WindowsTempFiles as text", [] { setText("WindowsTempFiles", "1"); }, 0},
        {"RecycleBin longer than four bytes",
         [] {
             const unsigned long long wide = 1;
             setValue("RecycleBin", REG_QWORD, &wide, sizeof wide);
         },
         2},
        {"RecentDocs as binary",
         [] {
             const DWORD one = 1;
             setValue("RecentDocs", REG_BINARY, &one, sizeof one);
         },
         3},
        {"UserDirectories as a number", [] { setDword("UserDirectories", 1); }, 4},
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
        EXPECT_TRUE(stored("WindowsTempFiles").present);
    }
}

TEST_F(SettingsStore, AMissingListLoadsEmptyAndLoadingGoesOn) {
    storeAllSix();
    deleteValue("UserDirectories");
    engine::Choices choices = untouched();
    choices.Load();
    engine::Choices expected = allSix();
    expected.userFolders.clear();
    EXPECT_EQ(choices, expected);
    EXPECT_TRUE(subKeys(kKey).empty());
}

TEST_F(SettingsStore, ListTextIsReadAsStored) {
    const struct {
        std::string text;
        DWORD type;
        Folders expected;
    } cases[] = {
        {"*C:\\one\nD:\\two", REG_SZ, {{"C:\\one", true}, {"D:\\two", false}}},
        {"*C:\\one\rD:\\two\n", REG_SZ, {{"C:\\one", true}, {"D:\\two", false}}},
        {"*%TEMP%\\x\r\n", REG_EXPAND_SZ, {{"%TEMP%\\x", true}}},
        {std::string("C:\\a\r\n\0C:\\b\r\n", 14), REG_SZ, {{"C:\\a", false}}},
        {"", REG_SZ, {}},
    };
    for (const auto& c : cases) {
        testsupport::deleteKeyTree(kParent);
        storeAllSix();
        setValue("UserDirectories", c.type, c.text.data(), static_cast<DWORD>(c.text.size()));
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
    choices.userFolders = {{"C:\\first folder", true}, {"D:\\second", false}};
    choices.Save();
    const std::pair<const char*, DWORD> flags[] = {{"WindowsTempFiles", 1},
                                                   {"WTFSubDir", 0},
                                                   {"RecycleBin", 0},
                                                   {"RecentDocs", 1},
                                                   {"UserSubDir", 1}};
    for (const auto& [name, value] : flags) {
        const Stored s = stored(name);
        EXPECT_EQ(s.type, static_cast<DWORD>(REG_DWORD)) << name;
        EXPECT_EQ(s.data, dword(value)) << name;
    }
    const Stored list = stored("UserDirectories");
    EXPECT_EQ(list.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(list.data, std::string("*C:\\first folder\r\nD:\\second\r\n") + '\0');

    // What was saved loads back the same.
    engine::Choices again = untouched();
    again.Load();
    EXPECT_EQ(again, choices);

    // An empty list is the empty text and its zero.
    engine::Choices().Save();
    EXPECT_EQ(stored("UserDirectories").data, std::string(1, '\0'));
    EXPECT_EQ(valueCount(kKey), 6u);
}

TEST_F(SettingsStore, SavingWithoutTheKeyMakesTheLayoutAndWritesNothing) {
    engine::Choices choices;
    choices.windowsTemp = true;
    choices.userFolders = {{"C:\\x", true}};
    choices.Save();
    expectEmptyLayout();
    // The next start finds every choice clear.
    engine::Choices next;
    next.Load();
    EXPECT_EQ(next, engine::Choices());
}

TEST_F(SettingsStore, CreatingKeepsWhatExists) {
    storeAllSix();
    setDword("Marker", 5);
    engine::CreateSettingsKey();
    EXPECT_EQ(stored("Marker").data, dword(5));
    EXPECT_EQ(valueCount(kKey), 7u);
    EXPECT_EQ(subKeys(kKey), kSubKeys);
}

TEST_F(SettingsStore, OnlyAFailedKeyCreationLeavesTheStore) {
    // A non-volatile key cannot be made under a volatile one: the store's key fails.
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kParent.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(raw);
    const std::string expected = "Failed to create key " + kKey;
    engine::Choices choices;
    try {
        choices.Load();
        ADD_FAILURE() << "Load raised nothing";
    } catch (const engine::RegistryError& error) {
        EXPECT_EQ(std::string(error.what()), expected);
    }
    try {
        choices.Save();
        ADD_FAILURE() << "Save raised nothing";
    } catch (const engine::RegistryError& error) {
        EXPECT_EQ(std::string(error.what()), expected);
    }
    EXPECT_FALSE(keyExists(kKey));
}

TEST_F(SettingsStore, KeyCreationStopsAtTheFirstFailure) {
    // The store's key itself is volatile: it opens, but its first sub-key cannot be made.
    HKEY raw = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kParent.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &raw, nullptr);
    RegCloseKey(raw);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(raw);
    try {
        engine::CreateSettingsKey();
        ADD_FAILURE() << "CreateSettingsKey raised nothing";
    } catch (const engine::RegistryError& error) {
        EXPECT_EQ(std::string(error.what()), "Failed to create key " + kKey + "\\WindowsTempFiles");
    }
    EXPECT_TRUE(subKeys(kKey).empty());
}

TEST(RegistryWrapper, ReportsEachFailureWithItsFixedText) {
    testsupport::RegistryGuard guard(kParent, testsupport::RegistryGuard::Start::Empty);
    setText("Text", "abc");
    setDword("Number", 0);
    const DWORD two[] = {1, 2};
    setValue("Long", REG_BINARY, two, sizeof two);
    engine::Registry registry;
    EXPECT_FALSE(registry.openKey(kKey + "\\missing"));
    ASSERT_TRUE(registry.openKey(kKey));
    const auto message = [](auto&& step) -> std::string {
        try {
            step();
        } catch (const engine::RegistryError& error) {
            return error.what();
        }
        return "no error";
    };
    EXPECT_EQ(message([&] { registry.readBool("Absent"); }), "Failed to get data for 'Absent'");
    EXPECT_EQ(message([&] { registry.readBool("Long"); }), "Failed to get data for 'Long'");
    EXPECT_EQ(message([&] { registry.readBool("Text"); }), "Invalid data type for 'Text'");
    EXPECT_EQ(message([&] { registry.readString("Number"); }), "Invalid data type for 'Number'");
    EXPECT_EQ(registry.readString("Absent"), "");
    EXPECT_FALSE(registry.readBool("Number"));
    registry.closeKey();
    EXPECT_EQ(message([&] { registry.writeBool("Flag", true); }), "Failed to set data for 'Flag'");
    EXPECT_EQ(message([&] { registry.writeString("Words", "x"); }),
              "Failed to set data for 'Words'");
}
