// brightsweep.exe driven from outside: the silent start, the interactive clean run, and
// the main window's handlers, against real files and the real registry of the prefix.
#include "app/SettingsIds.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/ProgramTest.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace app;
using testsupport::TempTree;

constexpr const wchar_t* kKey = testsupport::kSettingsKey;

// The values of the settings key as name -> (type, bytes), for before/after comparisons.
using Snapshot = testsupport::KeyValues;
Snapshot snapshot() {
    return testsupport::keyValues(kKey);
}
using testsupport::keyExists;

DWORD storedFlag(const wchar_t* name) {
    const Snapshot values = snapshot();
    const auto it = values.find(name);
    if (it == values.end() || it->second.first != REG_DWORD || it->second.second.size() != 4)
        return 0xFFFFFFFF;
    return *reinterpret_cast<const DWORD*>(it->second.second.data());
}

std::wstring storedText(const wchar_t* name) {
    const Snapshot values = snapshot();
    const auto it = values.find(name);
    if (it == values.end())
        return L"<missing>";
    const std::wstring text = testsupport::unitsOf(it->second.second);
    return text.substr(0, text.find(L'\0'));
}

struct Choices {
    DWORD temp = 0, tempSub = 0, recycle = 0, recent = 0, userSub = 0;
    std::wstring folders;
};

void store(const Choices& c) {
    testsupport::deleteKeyTree(kKey);
    testsupport::setDword(kKey, L"WindowsTempFiles", c.temp);
    testsupport::setDword(kKey, L"WTFSubDir", c.tempSub);
    testsupport::setDword(kKey, L"RecycleBin", c.recycle);
    testsupport::setDword(kKey, L"RecentDocs", c.recent);
    testsupport::setText(kKey, L"UserDirectories", c.folders);
    testsupport::setDword(kKey, L"UserSubDir", c.userSub);
}

struct E2E : e2e::ProgramTest {
    TempTree tree{L"e2e"};

    // Two user folders with files and a sub-folder each: "kept" and "wiped".
    void fillFolders() {
        for (const wchar_t* folder : {L"wiped", L"kept"}) {
            tree.file(std::wstring(folder) + L"\\a.txt");
            tree.file(std::wstring(folder) + L"\\sub\\b.txt");
        }
    }
    std::wstring folders(bool tickWiped, bool tickKept) {
        return std::wstring(tickWiped ? L"*" : L"") + tree.at(L"wiped") + L"\n" +
               (tickKept ? L"*" : L"") + tree.at(L"kept");
    }

    HWND startWindow(e2e::Process& process) {
        return e2e::waitForWindow(process.id(), kMainWindowClass, kMainWindowCaption);
    }

    // Presses the button `id` and waits for the "Confirm" box it brings up.
    static void pressForConfirm(const e2e::Process& process, HWND window, int id, HWND& confirm) {
        e2e::press(e2e::findControl(window, id));
        confirm = e2e::waitForMessage(process.id(), L"Confirm");
        ASSERT_NE(confirm, nullptr);
    }
    // Presses a button of the message box and waits until the box is gone.
    static void answerAndWait(const e2e::Process& process, HWND box, const wchar_t* buttonCaption) {
        e2e::answer(box, buttonCaption);
        ASSERT_TRUE(e2e::waitForWindowGone(process.id(), e2e::kMessageDialogClass, nullptr));
    }
};

// ---- The silent start ------------------------------------------------------------------

TEST_F(E2E, SilentStartInAnyCaseCleansWhatIsTickedAndStoresTheChoicesAgain) {
    for (const wchar_t* argument : {L"/S", L"/s"}) {
        SCOPED_TRACE(argument);
        fillFolders();
        Choices c;
        c.userSub = 1;
        c.folders = folders(true, false); // LF only, no final break: stored anew with CR LF
        store(c);

        e2e::Process process(exe, argument);
        const auto code = process.waitForExit(60000);
        ASSERT_TRUE(code.has_value()) << L"the silent run did not end";
        EXPECT_EQ(*code, 0u);

        EXPECT_EQ(testsupport::listFolder(tree.at(L"wiped")), std::vector<std::wstring>{});
        EXPECT_EQ(testsupport::listFolder(tree.at(L"kept")),
                  (std::vector<std::wstring>{L"a.txt", L"sub"}));
        EXPECT_TRUE(tree.exists(L"kept\\sub\\b.txt"));
        EXPECT_EQ(storedText(L"UserDirectories"),
                  L"*" + tree.at(L"wiped") + L"\r\n" + tree.at(L"kept") + L"\r\n");
        EXPECT_EQ(storedFlag(L"UserSubDir"), 1u);
        EXPECT_EQ(storedFlag(L"WindowsTempFiles"), 0u);
    }
}

TEST_F(E2E, SilentStartWithoutSubFoldersAndTheTempFolderTicked) {
    fillFolders();
    wchar_t tempPath[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, tempPath);
    const std::wstring tempFile =
        std::wstring(tempPath) + L"bs-e2e-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    const std::wstring tempSub =
        std::wstring(tempPath) + L"bs-e2e-sub-" + std::to_wstring(GetCurrentProcessId());
    testsupport::writeFile(tempFile);
    testsupport::writeFile(tempSub + L"\\inner.tmp");

    Choices c;
    c.temp = 1;
    c.tempSub = 0;
    c.folders = folders(true, false);
    store(c);
    e2e::Process process(exe, L"/S");
    ASSERT_TRUE(process.waitForExit(60000).has_value());

    EXPECT_FALSE(testsupport::pathExists(tempFile));
    EXPECT_TRUE(testsupport::pathExists(tempSub + L"\\inner.tmp"));
    EXPECT_EQ(testsupport::listFolder(tree.at(L"wiped")), std::vector<std::wstring>{L"sub"});
    EXPECT_TRUE(tree.exists(L"wiped\\sub\\b.txt"));
    EXPECT_EQ(storedFlag(L"WindowsTempFiles"), 1u);
    testsupport::removeTree(tempSub);
}

TEST_F(E2E, TheTempSubFolderChoiceAloneCleansNothing) {
    wchar_t tempPath[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, tempPath);
    const std::wstring tempFile = std::wstring(tempPath) + L"bs-e2e-alone-" +
                                  std::to_wstring(GetCurrentProcessId()) + L".tmp";
    testsupport::writeFile(tempFile);
    Choices c;
    c.tempSub = 1;
    store(c);
    e2e::Process process(exe, L"/S");
    ASSERT_TRUE(process.waitForExit(60000).has_value());
    EXPECT_TRUE(testsupport::pathExists(tempFile));
    EXPECT_EQ(storedFlag(L"WTFSubDir"), 1u);
    testsupport::removeTree(tempFile);
}

TEST_F(E2E, AFreshAccountGetsTheKeyAndItsSixSubKeys) {
    testsupport::deleteKeyTree(kKey);
    e2e::Process process(exe, L"");
    HWND window = startWindow(process);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(keyExists(kKey));
    for (const wchar_t* sub : {L"WindowsTempFiles", L"WTFSubDir", L"RecentDocs", L"RecycleBin",
                               L"UserDirectories", L"UserSubDir"})
        EXPECT_TRUE(keyExists(std::wstring(kKey) + L"\\" + sub)) << sub;
    EXPECT_TRUE(snapshot().empty());
    // Escape ends the program and stores nothing.
    e2e::pressKey(e2e::findControl(window, idCheckBox1), VK_ESCAPE);
    ASSERT_TRUE(process.waitForExit(15000).has_value());
    EXPECT_TRUE(snapshot().empty());
}

// ---- The interactive clean run ---------------------------------------------------------

TEST_F(E2E, RefusingTheConfirmationChangesNothing) {
    fillFolders();
    Choices c;
    c.userSub = 1;
    c.recycle = 1;
    c.folders = folders(true, true);
    store(c);
    const Snapshot before = snapshot();

    e2e::Process process(exe, L"");
    HWND window = startWindow(process);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(e2e::listTexts(e2e::findControl(window, idUserDirs)).size(), 2u);

    // "&No", Escape, and Enter (which starts the run like "&Go!") then closing the box.
    HWND confirm = nullptr;
    ASSERT_NO_FATAL_FAILURE(pressForConfirm(process, window, idButton1, confirm));
    EXPECT_EQ(e2e::messageText(confirm),
              L"You have chosen to DELETE ALL data in the locations you have specified.\r\n"
              L"Are you sure you want to do this?");
    ASSERT_NO_FATAL_FAILURE(answerAndWait(process, confirm, L"&No"));

    ASSERT_NO_FATAL_FAILURE(pressForConfirm(process, window, idButton1, confirm));
    e2e::pressKey(e2e::findControlByText(confirm, L"BUTTON", L"&Yes"), VK_ESCAPE);
    ASSERT_TRUE(e2e::waitForWindowGone(process.id(), e2e::kMessageDialogClass, nullptr));

    e2e::pressKey(e2e::findControl(window, idUserSub), VK_RETURN);
    confirm = e2e::waitForMessage(process.id(), L"Confirm");
    ASSERT_NE(confirm, nullptr);
    PostMessageW(confirm, WM_CLOSE, 0, 0);
    ASSERT_TRUE(e2e::waitForWindowGone(process.id(), e2e::kMessageDialogClass, nullptr));

    EXPECT_TRUE(process.running());
    EXPECT_TRUE(e2e::isVisible(window));
    EXPECT_TRUE(tree.exists(L"wiped\\a.txt"));
    EXPECT_TRUE(tree.exists(L"kept\\sub\\b.txt"));
    EXPECT_EQ(snapshot(), before);

    e2e::press(e2e::findControl(window, idButton4));
    ASSERT_TRUE(process.waitForExit(15000).has_value());
    EXPECT_EQ(snapshot(), before);
}

TEST_F(E2E, AConfirmedRunCleansReportsAndEnds) {
    fillFolders();
    Choices c;
    c.folders = folders(false, true);
    store(c);

    e2e::Process process(exe, L"");
    HWND window = startWindow(process);
    ASSERT_NE(window, nullptr);
    e2e::click(e2e::findControl(window, idUserSub)); // the user's change is stored too
    HWND confirm = nullptr;
    ASSERT_NO_FATAL_FAILURE(pressForConfirm(process, window, idButton1, confirm));
    e2e::answer(confirm, L"&Yes");

    HWND done = e2e::waitForMessage(process.id(), L"Information");
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(e2e::messageText(done), L"Your windows have been cleaned!");
    // The cleaning and the storing are over before the message shows.
    EXPECT_EQ(testsupport::listFolder(tree.at(L"kept")), std::vector<std::wstring>{});
    EXPECT_EQ(testsupport::listFolder(tree.at(L"wiped")),
              (std::vector<std::wstring>{L"a.txt", L"sub"}));
    EXPECT_EQ(storedFlag(L"UserSubDir"), 1u);
    e2e::answer(done, L"OK");
    const auto code = process.waitForExit(15000);
    ASSERT_TRUE(code.has_value()) << L"the program did not end after its run";
    EXPECT_EQ(*code, 0u);
}

TEST_F(E2E, AnyOtherFirstArgumentStartsClearAndAConfirmedRunStoresThat) {
    Choices c;
    c.temp = c.tempSub = c.recycle = c.recent = c.userSub = 1;
    c.folders = L"*" + tree.at(L"nowhere") + L"\r\n";
    for (const wchar_t* arguments : {L"-S", L"/SS", L"x /S"}) {
        SCOPED_TRACE(arguments);
        store(c);
        e2e::Process process(exe, arguments);
        HWND window = startWindow(process);
        ASSERT_NE(window, nullptr);
        for (int id : {idCheckBox1, idWindowsTempSub, idCheckBox5, idCheckBox2, idCheckBox4,
                       idCheckBox3, idUserSub})
            EXPECT_FALSE(e2e::isChecked(e2e::findControl(window, id))) << id;
        EXPECT_TRUE(e2e::listTexts(e2e::findControl(window, idUserDirs)).empty());
        if (std::wstring(arguments) != L"x /S") {
            e2e::press(e2e::findControl(window, idButton4));
            ASSERT_TRUE(process.waitForExit(15000).has_value());
            continue;
        }
        HWND confirm = nullptr;
        ASSERT_NO_FATAL_FAILURE(pressForConfirm(process, window, idButton1, confirm));
        e2e::answer(confirm, L"&Yes");
        HWND done = e2e::waitForMessage(process.id(), L"Information");
        ASSERT_NE(done, nullptr);
        e2e::pressKey(e2e::findControlByText(done, L"BUTTON", L"OK"), VK_ESCAPE);
        ASSERT_TRUE(process.waitForExit(15000).has_value());
        EXPECT_EQ(storedFlag(L"WindowsTempFiles"), 0u);
        EXPECT_EQ(storedFlag(L"UserSubDir"), 0u);
        EXPECT_EQ(storedText(L"UserDirectories"), L"");
    }
}

// ---- The "Control" page ----------------------------------------------------------------

TEST_F(E2E, LabelsToggleTheirBoxesAndTheSubFolderBoxFollowsTheTempBox) {
    e2e::Process process(exe, L"nothing");
    HWND window = startWindow(process);
    ASSERT_NE(window, nullptr);
    auto at = [&](int id) { return e2e::findControl(window, id); };

    const std::pair<int, int> rows[] = {{idLabel7, idCheckBox1},
                                        {idLabel8, idCheckBox5},
                                        {idLabel6, idCheckBox2},
                                        {idLabel3, idCheckBox4},
                                        {idLabel4, idCheckBox3}};
    for (const auto& [label, box] : rows) {
        e2e::clickAt(at(label), 3, 3);
        EXPECT_TRUE(e2e::isChecked(at(box))) << label;
        e2e::clickAt(at(label), 3, 3);
        EXPECT_FALSE(e2e::isChecked(at(box))) << label;
    }
    // The sub-folder texts and the headings toggle nothing.
    for (int label : {idLabel1, idLabel9, idLabel2, idLabel5})
        e2e::clickAt(at(label), 3, 3);
    EXPECT_FALSE(e2e::isChecked(at(idUserSub)));
    EXPECT_FALSE(e2e::isChecked(at(idWindowsTempSub)));

    EXPECT_FALSE(e2e::isEnabled(at(idWindowsTempSub)));
    e2e::click(at(idCheckBox1));
    EXPECT_TRUE(e2e::isEnabled(at(idWindowsTempSub)));
    e2e::click(at(idWindowsTempSub));
    EXPECT_TRUE(e2e::isChecked(at(idWindowsTempSub)));
    e2e::clickAt(at(idLabel7), 3, 3); // untick through the label
    EXPECT_FALSE(e2e::isChecked(at(idCheckBox1)));
    EXPECT_FALSE(e2e::isEnabled(at(idWindowsTempSub)));
    EXPECT_TRUE(e2e::isChecked(at(idWindowsTempSub)));
    e2e::clickAt(at(idLabel7), 3, 3);
    EXPECT_TRUE(e2e::isEnabled(at(idWindowsTempSub)));
}

TEST_F(E2E, TheFolderListClearsOnlyOnYesAndADoubleClickRemovesAnEntry) {
    Choices c;
    c.folders = L"*C:\\one\r\nC:\\two\r\n*C:\\three\r\n";
    store(c);
    e2e::Process process(exe, L"");
    HWND window = startWindow(process);
    ASSERT_NE(window, nullptr);
    HWND list = e2e::findControl(window, idUserDirs);
    HWND remove = e2e::findControl(window, idRemove);
    EXPECT_EQ(e2e::listTexts(list),
              (std::vector<std::wstring>{L"C:\\one", L"C:\\two", L"C:\\three"}));
    EXPECT_EQ(e2e::listTicks(list), (std::vector<bool>{true, false, true}));
    EXPECT_FALSE(e2e::isEnabled(remove));

    HWND confirm = nullptr;
    ASSERT_NO_FATAL_FAILURE(pressForConfirm(process, window, idButton6, confirm));
    EXPECT_EQ(e2e::messageText(confirm), L"Remove all directories from the list?");
    ASSERT_NO_FATAL_FAILURE(answerAndWait(process, confirm, L"&No"));
    EXPECT_EQ(e2e::listTexts(list).size(), 3u);

    // A click enables "&Remove"; a double click on an entry removes it at once.
    const POINT second = e2e::listItemPoint(list, 1, 60);
    e2e::clickAt(list, second.x, second.y);
    EXPECT_TRUE(e2e::isEnabled(remove));
    e2e::doubleClickAt(list, second.x, second.y);
    EXPECT_EQ(e2e::listTexts(list), (std::vector<std::wstring>{L"C:\\one", L"C:\\three"}));
    EXPECT_EQ(e2e::listTicks(list), (std::vector<bool>{true, true}));
    EXPECT_FALSE(e2e::isEnabled(remove));

    // A click on the tick box toggles only the tick.
    const POINT first = e2e::listItemPoint(list, 0, 5);
    e2e::clickAt(list, first.x, first.y);
    EXPECT_EQ(e2e::listTicks(list), (std::vector<bool>{false, true}));

    ASSERT_NO_FATAL_FAILURE(pressForConfirm(process, window, idButton6, confirm));
    ASSERT_NO_FATAL_FAILURE(answerAndWait(process, confirm, L"&Yes"));
    EXPECT_TRUE(e2e::listTexts(list).empty());
    EXPECT_TRUE(e2e::isEnabled(remove)); // "C&lear" leaves "&Remove" as it was
    e2e::click(remove);                  // nothing selected: nothing happens but disabling
    EXPECT_FALSE(e2e::isEnabled(remove));
}

// The real folder picker: its title, Cancel adding nothing, and OK on the folder it starts
// at, a shell folder of the user, refused with a word.
TEST_F(E2E, AddUsesTheShellFolderPicker) {
    e2e::Process process(exe, L"nothing");
    HWND window = startWindow(process);
    ASSERT_NE(window, nullptr);
    HWND list = e2e::findControl(window, idUserDirs);
    auto openPicker = [&] {
        e2e::press(e2e::findControl(window, idButton2));
        return e2e::waitForWindow(process.id(), L"#32770", nullptr);
    };

    HWND picker = openPicker();
    ASSERT_NE(picker, nullptr);
    EXPECT_NE(
        e2e::findControlByText(picker, L"STATIC",
                               L"Select a directory to be added to the\r\"User Folders\" list"),
        nullptr);
    PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(e2e::waitForWindowGone(process.id(), L"#32770", nullptr));
    EXPECT_TRUE(e2e::listTexts(list).empty());

    picker = openPicker();
    ASSERT_NE(picker, nullptr);
    PostMessageW(picker, WM_COMMAND, IDOK, 0);
    HWND refusal = e2e::waitForMessage(process.id(), L"Information");
    ASSERT_NE(refusal, nullptr);
    EXPECT_NE(e2e::messageText(refusal).find(L"holds Windows or your own files"),
              std::wstring::npos);
    ASSERT_NO_FATAL_FAILURE(answerAndWait(process, refusal, L"OK"));
    EXPECT_TRUE(e2e::listTexts(list).empty());
}

} // namespace
