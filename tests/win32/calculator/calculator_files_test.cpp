// Calculation files in the real calculator: reading, saving and reopening,
// failed writes, drops, the open and save dialogs with their notes pane
// (driven by a thread timer inside their modal loop), CSV copy and print.
#include "tests/win32/calculator/calculator_fixture.h"

#include <commdlg.h>

#include <cstring>
#include <functional>

#include "app/calculator/calculator_commands.h"
#include "app/calculator/calculator_output.h"
#include "tests/win32/support/import_patch.h"

namespace {

using CalculatorFilesTest = CalculatorFixture;

// ---- driving the common file dialogs ----

struct FileDialogFinder {
    HWND dialog = nullptr;
    HWND pane = nullptr;
};

BOOL CALLBACK findPane(HWND child, LPARAM found)
{
    if (GetDlgItem(child, IDC_PANE_NOTES)) {
        reinterpret_cast<FileDialogFinder*>(found)->pane = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK findFileDialog(HWND window, LPARAM found)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    FileDialogFinder* finder = reinterpret_cast<FileDialogFinder*>(found);
    EnumChildWindows(window, findPane, found);
    if (finder->pane) {
        finder->dialog = window;
        return FALSE;
    }
    return TRUE;
}

// Runs script once on the first file dialog that shows up, from a thread
// timer served by the dialog's own modal loop.
class FileDialogDriver {
public:
    explicit FileDialogDriver(std::function<void(HWND dialog, HWND pane)> script)
    {
        current = this;
        script_ = std::move(script);
        timer_ = SetTimer(nullptr, 0, 50, tick);
    }
    ~FileDialogDriver()
    {
        KillTimer(nullptr, timer_);
        current = nullptr;
    }
    int runs() const { return runs_; }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        FileDialogDriver* self = current;
        if (!self || self->busy_)
            return;
        FileDialogFinder finder;
        EnumThreadWindows(GetCurrentThreadId(), findFileDialog, reinterpret_cast<LPARAM>(&finder));
        if (!finder.dialog)
            return;
        self->busy_ = true;
        ++self->runs_;
        self->script_(finder.dialog, finder.pane);
        self->busy_ = false;
    }
    static FileDialogDriver* current;
    std::function<void(HWND, HWND)> script_;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
    int runs_ = 0;
};
FileDialogDriver* FileDialogDriver::current;

// The file name box: edt1 in older explorer-style templates, cmb13 in newer.
void chooseName(HWND dialog, const std::string& name)
{
    for (int id : {0x480, 0x47c})
        SendMessageA(dialog, CDM_SETCONTROLTEXT, id, reinterpret_cast<LPARAM>(name.c_str()));
}

HWND findListView(HWND dialog)
{
    HWND view = FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr);
    return view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
}

std::string paneText(HWND pane)
{
    char buffer[300] = "";
    GetDlgItemTextA(pane, IDC_PANE_NOTES, buffer, sizeof buffer);
    return buffer;
}

// ---- files ----

struct CurrentDirectory {
    explicit CurrentDirectory(const std::string& folder)
    {
        GetCurrentDirectoryA(sizeof saved, saved);
        SetCurrentDirectoryA(folder.c_str());
    }
    ~CurrentDirectory() { SetCurrentDirectoryA(saved); }
    char saved[MAX_PATH];
};

// The shell's DROPFILES header (shlobj.h clashes with the database's names).
struct DropHeader {
    DWORD pFiles;
    POINT pt;
    BOOL fNC;
    BOOL fWide;
};

HDROP makeDrop(const std::vector<std::string>& names)
{
    size_t size = sizeof(DropHeader) + 1;
    for (const std::string& name : names)
        size += name.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    DropHeader* drop = static_cast<DropHeader*>(GlobalLock(memory));
    drop->pFiles = sizeof(DropHeader);
    char* at = reinterpret_cast<char*>(drop + 1);
    for (const std::string& name : names) {
        memcpy(at, name.c_str(), name.size() + 1);
        at += name.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(CalculatorFilesTest, MultipleFileSwitchesUnitAndShowsStoredRows)
{
    const std::string path = writeFile("Esempio3.qvl", Esempio3);
    for (DisplayUnit before : {PerCc, PerLitre}) {
        SCOPED_TRACE(before);
        appState.displayUnit = before;
        SendMessageA(toolbar, TB_CHECKBUTTON, CMD_FF_CC, MAKELONG(before == PerCc, 0));
        openFile(path);
        EXPECT_EQ(appState.displayUnit, PerLitre);
        EXPECT_FALSE(SendMessageA(toolbar, TB_ISBUTTONCHECKED, CMD_FF_CC, 0));
        EXPECT_TRUE(SendMessageA(toolbar, TB_ISBUTTONCHECKED, CMD_FF_L, 0));
        EXPECT_EQ(text(IDC_CALC_UNIT_F), "ff/l");
        EXPECT_EQ(header(1), "F (ff/l)");
        EXPECT_EQ(header(4), "E (ff/l)");
        EXPECT_EQ(IsDlgButtonChecked(calculator, IDC_CALC_MULTIPLE), BST_CHECKED);
        const std::vector<std::vector<std::string>> expected = {
            {"Centrali elettriche a vapore: rimozione di guarnizioni di valvole", "300.00", "2.00", "120.0", "37.50"},
            {"Turbinista in zona turbina", "4.00", "5.50", "120.0", "1.38"},
        };
        EXPECT_EQ(rows(), expected);
        EXPECT_EQ(text(IDC_CALC_RESULT_CC), "0.03888");
        EXPECT_EQ(text(IDC_CALC_RESULT_L), "38.88");
        EXPECT_EQ(text(IDC_CALC_NOTES), "Esempio 3: due lavorazioni, valori in ff/l.");
        EXPECT_EQ(statusText(), path);
        EXPECT_STREQ(calculatorCurrentFile(calculator), path.c_str());
        DestroyWindow(calculator);
    }
}

TEST_F(CalculatorFilesTest, StoredResultsStayUntilADropRecomputes)
{
    // The stored exposure is deliberately not the rows' total.
    std::string stale = Esempio3;
    stale.replace(stale.find("0.03888"), 7, "9.99999");
    const std::string path = writeFile("CALC.QVL", stale);
    const std::string other = writeFile("notes.txt", "x");
    openFile(path);
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "9.99999");
    EXPECT_EQ(text(IDC_CALC_RESULT_L), "9999.99");

    setText(IDC_CALC_NOTES, "untouched");
    SendMessageA(calculator, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop({path, other})), 0);
    SendMessageA(calculator, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop({other})), 0);
    EXPECT_EQ(text(IDC_CALC_NOTES), "untouched");

    MessageBoxCatcher catcher(IDYES);  // the changed note is given up
    SendMessageA(calculator, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop({path})), 0);
    EXPECT_EQ(catcher.caught().size(), 1u);
    EXPECT_EQ(text(IDC_CALC_NOTES), "Esempio 3: due lavorazioni, valori in ff/l.");
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "0.03888");
    EXPECT_EQ(text(IDC_CALC_RESULT_L), "38.88");
}

TEST_F(CalculatorFilesTest, SingleFileFieldsPassTheCharacterCheck)
{
    const std::string path =
        writeFile("virgola.qvl", "[QUORVEL]\r\nLAVORAZIONE=Taglio\r\nFIBRE=0,3\r\nORE=2\r\nGIORNI=120\r\n"
                                 "ESPOSIZIONE=0.03750\r\n");
    MessageBoxCatcher catcher(IDOK);
    openFile(path);
    ASSERT_EQ(catcher.caught().size(), 1u);
    EXPECT_EQ(catcher.caught()[0].caption, ",3");
    EXPECT_EQ(text(IDC_CALC_F), "0");
    EXPECT_EQ(text(IDC_CALC_DESCRIPTION), "Taglio");
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "0.03750") << "results as stored";
    EXPECT_EQ(appState.displayUnit, PerCc);
}

TEST_F(CalculatorFilesTest, SavedCalculationsReopenIdentically)
{
    const std::string single = pathOf("singolo.qvl");
    open();
    setText(IDC_CALC_DESCRIPTION, "Centrali elettriche a vapore: rimozione di guarnizioni di valvole");
    setText(IDC_CALC_F, "0.30000");
    setText(IDC_CALC_T, "2");
    setText(IDC_CALC_G, "120");
    setText(IDC_CALC_NOTES, "Esempio 1: lavorazione singola, valori in ff/cc.");
    ASSERT_TRUE(writeCalculationFromDialog(calculator, single.c_str()));
    EXPECT_EQ(readWhole(single),
              "[QUORVEL]\r\nMULTI=0\r\n"
              "LAVORAZIONE=Centrali elettriche a vapore: rimozione di guarnizioni di valvole\r\n"
              "FIBRE=0.30000\r\nORE=2\r\nGIORNI=120\r\nESPOSIZIONE=0.03750\r\nESPOSIZIONE_FL=37.50\r\n"
              "NOTE=Esempio 1: lavorazione singola, valori in ff/cc.\r\nUNIT=0\r\n");
    EXPECT_EQ(statusText(), single);

    const std::string multiple = pathOf("multiplo.qvl");
    setMultiple(true);
    addRow("Mescolatrice", "2.2", "4", "240");
    addRow("Pastigliatrici", "1.9", "2.5", "240");
    setText(IDC_CALC_NOTES, "due righe");
    ASSERT_TRUE(writeCalculationFromDialog(calculator, multiple.c_str()));

    for (const std::string& path : {single, multiple}) {
        SCOPED_TRACE(path);
        SendMessageA(calculator, WM_CLOSE, 0, 0);
        openFile(path);
        HWND first = calculator;
        const Calculation before = calculatorContents(first);
        openFile(path);
        const Calculation after = calculatorContents(calculator);
        EXPECT_EQ(after.multiple, before.multiple);
        EXPECT_EQ(after.resultCc, before.resultCc);
        EXPECT_EQ(after.notes, before.notes);
    }
    // The multiple file, read back.
    const Calculation back = calculatorContents(calculator);
    EXPECT_TRUE(back.multiple);
    ASSERT_EQ(back.rows.size(), 2u);
    EXPECT_EQ(back.rows[1].columns[ColumnT], "2.50");
    EXPECT_EQ(back.resultCc, "1.69375");
    EXPECT_EQ(back.notes, "due righe");
}

TEST_F(CalculatorFilesTest, SaveWritesToTheCurrentFileWithoutAsking)
{
    const std::string path = writeFile("Esempio3.qvl", Esempio3);
    openFile(path);
    setText(IDC_CALC_NOTES, "nota cambiata");
    FileDialogDriver driver([](HWND dialog, HWND) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    command(IDC_CALC_SAVE);
    EXPECT_EQ(driver.runs(), 0) << "no dialog";
    EXPECT_NE(readWhole(path).find("NOTE=nota cambiata\r\n"), std::string::npos);
}

TEST_F(CalculatorFilesTest, FailedWriteIsReportedAndKeepsTheCurrentFile)
{
    const std::string path = writeFile("Esempio3.qvl", Esempio3);
    openFile(path);
    const std::string before = readWhole(path);
    setText(IDC_CALC_NOTES, "non salvata");
    // A folder cannot be written as a file, whoever runs the tests.
    const std::string folderNamedQvl = folder + "\\cartella.qvl";
    ASSERT_TRUE(CreateDirectoryA(folderNamedQvl.c_str(), nullptr));
    const std::string missingFolder = folder + "\\manca\\nuovo.qvl";

    MessageBoxCatcher catcher(IDOK);
    EXPECT_FALSE(writeCalculationFromDialog(calculator, folderNamedQvl.c_str()));
    EXPECT_FALSE(writeCalculationFromDialog(calculator, missingFolder.c_str()));
    EXPECT_STREQ(calculatorCurrentFile(calculator), path.c_str());
    EXPECT_EQ(statusText(), path);
    EXPECT_EQ(readWhole(path), before);

    // Save to a current file that can no longer be written: a folder now
    // stands where it was read.
    const std::string gone = writeFile("sparito.qvl", Esempio3);
    ASSERT_TRUE(readCalculationIntoDialog(calculator, gone.c_str()));
    ASSERT_TRUE(DeleteFileA(gone.c_str()));
    ASSERT_TRUE(CreateDirectoryA(gone.c_str(), nullptr));
    command(IDC_CALC_SAVE);
    RemoveDirectoryA(gone.c_str());
    RemoveDirectoryA(folderNamedQvl.c_str());
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a temporary file was left: " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);

    ASSERT_EQ(catcher.caught().size(), 3u);
    EXPECT_EQ(catcher.caught()[0].caption, folderNamedQvl);
    EXPECT_EQ(catcher.caught()[1].caption, missingFolder);
    EXPECT_EQ(catcher.caught()[2].caption, gone);
    for (const CaughtMessageBox& box : catcher.caught())
        EXPECT_EQ(box.text, WriteFailedMessage);
}

// Mended: a save over a read-only file replaced it and dropped its
// read-only attribute (the replacing move does not look at it).
TEST_F(CalculatorFilesTest, ReadOnlyFilesAreRefusedAndKeptAsTheyWere)
{
    const std::string path = writeFile("sola_lettura.qvl", Esempio3);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string before = readWhole(path);
    struct Case {
        const char* name;
        int button;
        int answer;  // to every message box
        const char* otherName;  // where "Salva con nome" then saves, or none
    } cases[] = {
        {"Salva, No", IDC_CALC_SAVE, IDNO, nullptr},
        {"Salva, Si: another name", IDC_CALC_SAVE, IDYES, "altro.qvl"},
        {"Salva con nome over it, Si: another name", IDC_CALC_SAVE_AS, IDYES, "altro2.qvl"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openFile(path);
        setText(IDC_CALC_NOTES, "nota cambiata");
        const std::string other = c.otherName ? pathOf(c.otherName) : "";
        // "Salva con nome" picks the read-only file first, then the other one.
        int dialogs = 0;
        FileDialogDriver driver([&](HWND dialog, HWND) {
            const bool first = dialogs++ == 0 && c.button == IDC_CALC_SAVE_AS;
            chooseName(dialog, first ? path : other);
            PostMessageA(dialog, WM_COMMAND, other.empty() && !first ? IDCANCEL : IDOK, 0);
        });
        MessageBoxCatcher catcher(c.answer);
        command(c.button);
        int refusals = 0;
        for (const CaughtMessageBox& box : catcher.caught())
            refusals += box.text == ReadOnlyFileMessage && box.caption.find("sola_lettura.qvl") != std::string::npos;
        EXPECT_EQ(refusals, 1);
        EXPECT_EQ(readWhole(path), before);
        EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
        if (c.otherName) {
            EXPECT_NE(readWhole(other).find("NOTE=nota cambiata\r\n"), std::string::npos);
            EXPECT_EQ(statusText(), other);
        } else {
            EXPECT_EQ(driver.runs(), 0);
            EXPECT_EQ(statusText(), path);
        }
        DestroyWindow(calculator);
    }
}

// Mended: the calculator's own "Apri..." and a file dropped onto it replaced
// changed work without asking, while closing and the main window asked.
TEST_F(CalculatorFilesTest, ReplacingChangedWorkWithAFileAsksFirst)
{
    const std::string path = writeFile("Esempio3.qvl", Esempio3);
    const std::string note = "Esempio 3: due lavorazioni, valori in ff/l.";
    const struct Way {
        const char* name;
        std::function<void()> replace;
    } ways[] = {
        {"Apri",
         [&] {
             FileDialogDriver driver([&](HWND dialog, HWND) {
                 chooseName(dialog, path);
                 PostMessageA(dialog, WM_COMMAND, IDOK, 0);
             });
             command(IDC_CALC_OPEN);
             EXPECT_EQ(driver.runs(), 1);
         }},
        {"drop", [&] { SendMessageA(calculator, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop({path})), 0); }},
        {"command line", [&] { openByName(mainWindow, path.c_str()); pumpMessages(); }},
    };
    for (const Way& way : ways) {
        for (int answer : {IDNO, IDCANCEL, IDYES}) {
            SCOPED_TRACE(std::string(way.name) + " " + std::to_string(answer));
            open();
            setText(IDC_CALC_NOTES, "nota cambiata");
            MessageBoxCatcher catcher(answer);
            way.replace();
            calculator = liveCalculatorWindow();
            ASSERT_NE(calculator, nullptr);
            ASSERT_EQ(catcher.caught().size(), 1u);
            EXPECT_EQ(catcher.caught()[0].caption, "Conferma operazione");
            EXPECT_NE(catcher.caught()[0].text.find("modifiche non salvate"), std::string::npos);
            EXPECT_EQ(text(IDC_CALC_NOTES), answer == IDYES ? note : "nota cambiata");
            DestroyWindow(calculator);
        }
    }
}

// Mended (Windows Vista and later): the dialogs started in the process's
// current folder, often System32, and "Salva" wrote a shipped example over
// in the program's folder, where a standard user may not write.
TEST_F(CalculatorFilesTest, DialogsStartInDocumentsAndExamplesAreSavedUnderANewName)
{
    using FolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    auto folderPath = reinterpret_cast<FolderPath>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("shell32.dll"), "SHGetFolderPathA")));
    ASSERT_NE(folderPath, nullptr);
    char documents[MAX_PATH] = "";
    ASSERT_TRUE(SUCCEEDED(folderPath(nullptr, 5 /* CSIDL_PERSONAL */, nullptr, 0, documents)));
    char program[MAX_PATH] = "";
    ASSERT_GT(GetModuleFileNameA(nullptr, program, sizeof program), 0u);
    *std::strrchr(program, '\\') = '\0';
    const std::string example = std::string(program) + "\\EsempioDiProva.qvl";
    files.push_back(example);
    {
        FILE* file = std::fopen(example.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fputs(Esempio3, file);
        std::fclose(file);
    }
    const std::string mine = writeFile("mio.qvl", Esempio3);
    char system[MAX_PATH] = "";
    ASSERT_GT(GetSystemDirectoryA(system, sizeof system), 0u);
    CurrentDirectory elsewhere(system);  // as when started from the Start menu

    struct Case {
        const char* name;
        const char* file;  // the calculator's file, or none
        int button;
        std::string start;
    } cases[] = {
        {"Apri, no file", nullptr, IDC_CALC_OPEN, documents},
        {"Salva, no file", nullptr, IDC_CALC_SAVE, documents},
        {"Apri, a file of the user's", mine.c_str(), IDC_CALC_OPEN, folder},
        {"Salva con nome, a file of the user's", mine.c_str(), IDC_CALC_SAVE_AS, folder},
        {"Salva, an example", example.c_str(), IDC_CALC_SAVE, documents},
        {"Apri, an example", example.c_str(), IDC_CALC_OPEN, documents},
    };
    const std::string exampleBefore = readWhole(example);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.file)
            openFile(c.file);
        else
            open();
        setText(IDC_CALC_NOTES, "nota cambiata");
        char started[MAX_PATH] = "";
        FileDialogDriver driver([&](HWND dialog, HWND) {
            SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof started, reinterpret_cast<LPARAM>(started));
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        command(c.button);
        EXPECT_EQ(driver.runs(), 1);
        EXPECT_EQ(lstrcmpiA(started, c.start.c_str()), 0) << started;
        DestroyWindow(calculator);
    }
    EXPECT_EQ(readWhole(example), exampleBefore);
}

// Profile writes that succeed a few times and then fail, as a full disk or
// a lost network share would fail a save part-way.
using ProfileWrite = BOOL(WINAPI*)(LPCSTR, LPCSTR, LPCSTR, LPCSTR);
ProfileWrite realProfileWrite;
int profileWritesLeft;

BOOL WINAPI failingProfileWrite(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file)
{
    if (section && profileWritesLeft-- <= 0) {
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return realProfileWrite(section, key, value, file);
}

TEST_F(CalculatorFilesTest, SaveRefusedPartWayLeavesTheFileAsItWas)
{
    std::string big = "[QUORVEL]\r\nMULTI=1\r\nITEMS=40\r\nUNIT=0\r\n";
    for (int i = 0; i < 40; ++i)
        big += "[EXPO_" + std::to_string(i) + "]\r\nVOCE=Riga " + std::to_string(i) +
               "\r\nFIBRE=0.1\r\nORE=2\r\nGIORNI=120\r\n";
    const std::string source = writeFile("grande.qvl", big);
    const std::string single = "[QUORVEL]\r\nMULTI=0\r\nLAVORAZIONE=Taglio\r\nFIBRE=0.3\r\nORE=2\r\n"
                               "GIORNI=120\r\nESPOSIZIONE=0.03750\r\nNOTE=da tenere\r\nUNIT=0\r\n";
    const std::string target = writeFile("originale.qvl", single);
    openFile(source);
    ASSERT_EQ(rows().size(), 40u);

    MessageBoxCatcher catcher(IDOK);
    realProfileWrite = replaceImport("kernel32.dll", "WritePrivateProfileStringA", failingProfileWrite);
    ASSERT_NE(realProfileWrite, nullptr);
    profileWritesLeft = 5;
    EXPECT_FALSE(writeCalculationFromDialog(calculator, target.c_str()));
    replaceImport("kernel32.dll", "WritePrivateProfileStringA", realProfileWrite);
    ASSERT_EQ(catcher.caught().size(), 1u);
    EXPECT_EQ(catcher.caught()[0].text, WriteFailedMessage);
    EXPECT_EQ(readWhole(target), single) << "the file was left half-written";
    EXPECT_STREQ(calculatorCurrentFile(calculator), source.c_str());
}

TEST_F(CalculatorFilesTest, HiddenRowsFollowTheUnitOfASingleFile)
{
    appState.displayUnit = PerCc;
    open();
    setMultiple(true);
    addRow("Taglio", "0.3", "8", "240");
    setMultiple(false);
    const std::string path = writeFile("litri.qvl",
                                       "[QUORVEL]\r\nMULTI=0\r\nLAVORAZIONE=Altro\r\nFIBRE=57.00\r\n"
                                       "ORE=8\r\nGIORNI=240\r\nESPOSIZIONE=0.05700\r\nUNIT=1\r\n");
    ASSERT_TRUE(readCalculationIntoDialog(calculator, path.c_str()));
    EXPECT_EQ(appState.displayUnit, PerLitre);
    setMultiple(true);
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0][1], "300.00");
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "0.30000");
    EXPECT_EQ(text(IDC_CALC_RESULT_L), "300.00");
}

TEST_F(CalculatorFilesTest, MultipleSavePrintAndCopyCarryTheListTotal)
{
    open();
    setMultiple(true);
    addRow("Mescolatrice", "2.2", "4", "240");
    addRow("Pastigliatrici", "1.9", "2.5", "240");
    setText(IDC_CALC_F, "2.2");  // the fields now show one activity: 1.10000
    setText(IDC_CALC_T, "4");
    ASSERT_EQ(text(IDC_CALC_RESULT_CC), "1.10000");

    const std::string path = pathOf("totale.qvl");
    ASSERT_TRUE(writeCalculationFromDialog(calculator, path.c_str()));
    EXPECT_NE(readWhole(path).find("ESPOSIZIONE=1.69375\r\nESPOSIZIONE_FL=1693.75\r\n"), std::string::npos)
        << readWhole(path);
    const Calculation printed = calculatorOutput(calculator);
    EXPECT_EQ(printed.resultCc, "1.69375");
    EXPECT_EQ(printed.resultL, "1693.75");
    command(IDC_CALC_COPY);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    const std::string copied = data ? static_cast<const char*>(GlobalLock(data)) : "";
    if (data)
        GlobalUnlock(data);
    CloseClipboard();
    EXPECT_NE(copied.find("Esposizione annuale (ff/cc):\t1,69375\r\n"), std::string::npos) << copied;

    openFile(path);
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "1.69375");
}

// A row filled from a database item keeps the item: the saved file names it
// in ID_VOCE, the copy names its source, and reading the file brings it back.
TEST_F(CalculatorFilesTest, RowsFromAnItemKeepItsSource)
{
    open(CalculatorRequest::item(541));
    setMultiple(true);
    command(IDC_CALC_ADD);  // the item's own values
    addRow("A mano", "1", "8", "240");
    ASSERT_EQ(rows().size(), 2u);

    const std::string path = pathOf("voce.qvl");
    ASSERT_TRUE(writeCalculationFromDialog(calculator, path.c_str()));
    const std::string saved = readWhole(path);
    const size_t second = saved.find("[EXPO_1]");
    EXPECT_LT(saved.find("ID_VOCE=541\r\n"), second) << saved;
    EXPECT_EQ(saved.find("ID_VOCE", second), std::string::npos) << saved;

    command(IDC_CALC_COPY);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    const std::string copied = data ? static_cast<const char*>(GlobalLock(data)) : "";
    if (data)
        GlobalUnlock(data);
    CloseClipboard();
    EXPECT_NE(copied.find("\t" + itemOriginText(541) + "\r\nA mano\t"), std::string::npos) << copied;

    openFile(path);
    const Calculation reread = calculatorOutput(calculator);
    ASSERT_EQ(reread.rows.size(), 2u);
    EXPECT_EQ(reread.rows[0].itemId, 541u);
    EXPECT_EQ(reread.rows[1].itemId, 0u);
}

TEST_F(CalculatorFilesTest, FileRowsThatFailTheChecksAreNamedAndNotSummed)
{
    std::string content = "[QUORVEL]\r\nMULTI=1\r\nITEMS=5\r\nESPOSIZIONE=1.10000\r\nUNIT=0\r\n";
    const char* rowsInFile[][4] = {
        {"Buona", "2.2", "4", "240"},      {"Trenta ore", "1", "30", "240"},
        {"Quattrocento giorni", "1", "8", "400"}, {"Negativa", "-3", "8", "240"},
        {"Infinita", "1e400", "8", "240"},
    };
    for (int i = 0; i < 5; ++i)
        content += "[EXPO_" + std::to_string(i) + "]\r\nVOCE=" + rowsInFile[i][0] + "\r\nFIBRE=" +
                   rowsInFile[i][1] + "\r\nORE=" + rowsInFile[i][2] + "\r\nGIORNI=" + rowsInFile[i][3] + "\r\n";
    const std::string path = writeFile("righe.qvl", content);
    MessageBoxCatcher catcher(IDOK);
    openFile(path);
    ASSERT_EQ(catcher.caught().size(), 1u);
    EXPECT_EQ(catcher.caught()[0].caption, RowInputCaption);
    const std::string& message = catcher.caught()[0].text;
    for (int i = 1; i < 5; ++i)
        EXPECT_NE(message.find(rowsInFile[i][0]), std::string::npos) << message;
    EXPECT_EQ(message.find("Buona"), std::string::npos) << message;
    EXPECT_EQ(rows().size(), 5u) << "every row is shown";

    command(IDC_CALC_MULTIPLE);  // recomputes the total
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "1.10000");
    EXPECT_EQ(calculatorOutput(calculator).resultCc, "1.10000");
}

TEST_F(CalculatorFilesTest, MissingOrForeignFilesAreNamedAndNeverSavedInto)
{
    const std::string foreign = writeFile("altro.qvl", "[Altro]\r\nCHIAVE=1\r\n");
    const std::string missing = folder + "\\manca.qvl";
    for (const std::string& path : {missing, foreign}) {
        SCOPED_TRACE(path);
        MessageBoxCatcher catcher(IDOK);
        openFile(path);
        ASSERT_EQ(catcher.caught().size(), 1u);
        EXPECT_EQ(catcher.caught()[0].caption, path);
        EXPECT_NE(catcher.caught()[0].text.find(path == missing ? "non esiste" : "non contiene un calcolo"),
                  std::string::npos);
        EXPECT_STREQ(calculatorCurrentFile(calculator), "");
        EXPECT_EQ(statusText(), "Nessun file selezionato");

        // "Salva" has no file to write into: it asks for one.
        setText(IDC_CALC_NOTES, "nota");
        FileDialogDriver driver([](HWND dialog, HWND) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        command(IDC_CALC_SAVE);
        EXPECT_EQ(driver.runs(), 1);
        DestroyWindow(calculator);
    }
    EXPECT_EQ(readWhole(foreign), "[Altro]\r\nCHIAVE=1\r\n");
    EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CalculatorFilesTest, OpenDialogPaneShowsTheSelectedFilesNoteGreyed)
{
    const std::string path = writeFile("Esempio3.qvl", Esempio3);
    // Open on a file of the folder: the open dialog starts in its folder.
    openFile(writeFile("Altro.qvl", "[QUORVEL]\r\nNOTE=\"Tra virgolette\"\r\n"));

    std::vector<std::string> notesSeen;
    bool editEnabled = true, buttonEnabled = true;
    FileDialogDriver driver([&](HWND dialog, HWND pane) {
        editEnabled = IsWindowEnabled(GetDlgItem(pane, IDC_PANE_NOTES));
        buttonEnabled = IsWindowEnabled(GetDlgItem(pane, IDC_PANE_MODIFY));
        HWND list = findListView(dialog);
        for (const char* name : {"Altro.qvl", "Esempio3.qvl"}) {
            LVFINDINFOA find = {};
            find.flags = LVFI_STRING;
            find.psz = name;
            const int index = static_cast<int>(SendMessageA(list, LVM_FINDITEMA, -1, reinterpret_cast<LPARAM>(&find)));
            ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
            ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            pumpMessages(20);
            notesSeen.push_back(paneText(pane));
        }
        buttonEnabled = buttonEnabled || IsWindowEnabled(GetDlgItem(pane, IDC_PANE_MODIFY));
        chooseName(dialog, "Esempio3.qvl");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    command(IDC_CALC_OPEN);
    EXPECT_EQ(driver.runs(), 1);
    EXPECT_FALSE(editEnabled);
    EXPECT_FALSE(buttonEnabled);
    const std::vector<std::string> expected = {"Tra virgolette", "Esempio 3: due lavorazioni, valori in ff/l."};
    EXPECT_EQ(notesSeen, expected);
    EXPECT_EQ(rows().size(), 2u) << "the chosen file was read";
    EXPECT_EQ(statusText(), path);
}

TEST_F(CalculatorFilesTest, SavePaneReplacesTheNotesOnlyWhenConfirmed)
{
    struct Case {
        const char* name;
        int answer;   // to "Volete procedere con la modifica?"
        int finish;   // how the save dialog ends
        const char* notesAfter;
        bool written;
    } cases[] = {
        {"no.qvl", IDNO, IDOK, "vecchia nota", true},
        {"annullato.qvl", IDYES, IDCANCEL, "vecchia nota", false},
        {"si.qvl", IDYES, IDOK, "nuova nota", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        setText(IDC_CALC_NOTES, "vecchia nota");
        const std::string path = pathOf(c.name);
        std::string shownAtStart;
        MessageBoxCatcher catcher(c.answer);
        FileDialogDriver driver([&](HWND dialog, HWND pane) {
            shownAtStart = paneText(pane);
            SetDlgItemTextA(pane, IDC_PANE_NOTES, "nuova nota");
            SendMessageA(pane, WM_COMMAND, MAKEWPARAM(IDC_PANE_MODIFY, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(pane, IDC_PANE_MODIFY)));
            chooseName(dialog, path);
            PostMessageA(dialog, WM_COMMAND, c.finish, 0);
        });
        command(IDC_CALC_SAVE_AS);
        EXPECT_EQ(driver.runs(), 1);
        EXPECT_EQ(shownAtStart, "vecchia nota");
        ASSERT_EQ(catcher.caught().size(), 1u);
        EXPECT_EQ(catcher.caught()[0].text, "Volete procedere con la modifica?");
        EXPECT_EQ(catcher.caught()[0].caption, "Conferma operazione");
        EXPECT_EQ(text(IDC_CALC_NOTES), c.notesAfter);
        const std::string written = readWhole(path);
        EXPECT_EQ(!written.empty(), c.written);
        if (c.written) {
            EXPECT_NE(written.find(std::string("NOTE=") + c.notesAfter + "\r\n"), std::string::npos);
            EXPECT_EQ(statusText(), path);
        }
        SendMessageA(calculator, WM_CLOSE, 0, 0);
    }
}

WNDPROC previousMainProc;

LRESULT CALLBACK formulaDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == CMD_FORMULA) {
        onFormulaCommand(window, lParam);
        return 0;
    }
    return CallWindowProcA(previousMainProc, window, message, wParam, lParam);
}

TEST_F(CalculatorFilesTest, OpenCommandOfTheMainWindowOpensTheChosenFile)
{
    const std::string path = writeFile("Esempio3.qvl", Esempio3);
    FileDialogDriver driver([&](HWND dialog, HWND) {
        chooseName(dialog, path);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    // The dispatcher's CMD_FORMULA line belongs to the command layer; stand in for it.
    previousMainProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(formulaDispatch)));
    onOpenCommand(mainWindow);
    SetWindowLongPtrA(mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousMainProc));
    calculator = liveCalculatorWindow();
    ASSERT_NE(calculator, nullptr);
    EXPECT_EQ(rows().size(), 2u);
    EXPECT_EQ(statusText(), path);
}

TEST_F(CalculatorFilesTest, CsvCopyIsTabSeparatedWithDecimalCommas)
{
    open();
    setMultiple(true);
    addRow("Mescolatrice: campionamento ambientale", "2.2", "4", "240");
    addRow("Pastigliatrici", "1.9", "2.5", "240");
    addRow("Preformazione ceppi", "1.8", "1", "120");
    setText(IDC_CALC_NOTES, "Esempio 4: tre lavorazioni, valori in fibre/cc.");
    command(IDC_CALC_COPY);

    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    const std::string copied = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(copied,
              "Calcolo dell'esposizione media annuale a fibre d'amianto\r\n"
              "Esposizioni multiple:\t3\r\n"
              "Descrizione\tFibre\tOre\tGiorni\tEsposizione\r\n"
              "Mescolatrice: campionamento ambientale\t2,20000\t4,000\t240,0\t1,10000\r\n"
              "Pastigliatrici\t1,90000\t2,500\t240,0\t0,59375\r\n"
              "Preformazione ceppi\t1,80000\t1,000\t120,0\t0,11250\r\n"
              "Esposizione annuale (ff/cc):\t1,80625\r\n"
              "Esposizione annuale (ff/l):\t1806,25\r\n"
              "Note:\tEsempio 4: tre lavorazioni, valori in fibre/cc.\r\n");
}

// ---- print ----

TEST_F(CalculatorFilesTest, PrintAsksFirstAndEndsQuietlyWithoutAPrinter)
{
    open();
    char device[80] = "";
    GetProfileStringA("windows", "device", "", device, sizeof device);
    if (device[0])
        GTEST_SKIP() << "a default printer is installed: printing here would print";
    HCURSOR before = GetCursor();
    for (int answer : {IDNO, IDYES}) {
        MessageBoxCatcher catcher(answer);
        command(IDC_CALC_PRINT);
        ASSERT_EQ(catcher.caught().size(), 1u);
        EXPECT_EQ(catcher.caught()[0].caption, "Conferma operazione");
        EXPECT_EQ(catcher.caught()[0].text, "Stampare i dati contenuti nella finestra?");
    }
    EXPECT_EQ(GetCursor(), before);
    EXPECT_EQ(liveCalculatorWindow(), calculator);
}

struct TextRecord {
    std::string text;
    LONG y;
};

int CALLBACK collectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM found)
{
    if (record->iType == EMR_EXTTEXTOUTW) {
        const EMREXTTEXTOUTW* out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const WCHAR* wide = reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(out) + out->emrtext.offString);
        char narrow[1024] = "";
        const int n = WideCharToMultiByte(1252, 0, wide, static_cast<int>(out->emrtext.nChars), narrow,
                                          sizeof narrow - 1, nullptr, nullptr);
        narrow[n > 0 ? n : 0] = '\0';
        reinterpret_cast<std::vector<TextRecord>*>(found)->push_back({narrow, out->emrtext.ptlReference.y});
    }
    return 1;
}

std::vector<TextRecord> drawnPage(const Calculation& calculation, DisplayUnit unit, int* lineHeight)
{
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    // A printer context starts with its device font; a metafile needs one chosen.
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics = {};
    EXPECT_TRUE(GetTextMetricsA(dc, &metrics));
    *lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    drawCalculationPage(dc, calculation, unit, "Calcolo dell'esposizione annuale a fibre", 2000, 3000);
    HENHMETAFILE page = CloseEnhMetaFile(dc);
    std::vector<TextRecord> found;
    EnumEnhMetaFile(nullptr, page, collectText, &found, nullptr);
    DeleteEnhMetaFile(page);
    return found;
}

TEST_F(CalculatorFilesTest, PrintedPageHasItsLinesInOrder)
{
    Calculation single;
    single.description = "Taglio.";
    single.fText = "57.00";
    single.tText = "8";
    single.gText = "240";
    single.resultCc = "0.05700";
    single.resultL = "57.00";
    single.notes = "Prima riga";

    Calculation multiple;
    multiple.multiple = true;
    RowValues a = {"Rimozione", 300, 2, 120, 0};
    RowValues b = {"Turbinista", 4, 5.5, 120, 0};
    multiple.rows = {writeRow(a, PerLitre), writeRow(b, PerLitre)};
    multiple.resultCc = "0.03888";
    multiple.resultL = "38.88";

    Calculation fromItem = single;  // F is item 541's value: the page names the source
    fromItem.fText = "10640.00";
    fromItem.itemId = 541;
    fromItem.notes.clear();

    struct Case {
        const char* name;
        const Calculation* calculation;
        std::vector<std::string> lines;  // from the first line after the title
        bool notes;
    } cases[] = {
        {"single", &single,
         {"Taglio.", "Concentrazione (ff/l): 57.00", "Ore/giorno: 8", "Giorni/anno: 240",
          "Esposizione annuale (ff/cc): 0.05700", "Esposizione annuale (ff/l): 57.00"},
         true},
        {"multiple", &multiple,
         {"Esposizioni multiple", "Descrizione: Rimozione", "Concentrazione (ff/l): 300.00", "Ore/giorno: 2.000",
          "Giorni/anno: 120.0", "Esposizione parziale (ff/l): 37.50", "Descrizione: Turbinista",
          "Concentrazione (ff/l): 4.00", "Ore/giorno: 5.500", "Giorni/anno: 120.0",
          "Esposizione parziale (ff/l): 1.38", "", "Esposizione annuale (ff/cc): 0.03888",
          "Esposizione annuale (ff/l): 38.88"},
         false},
        {"from an item", &fromItem,
         {"Taglio.", "Concentrazione (ff/l): 10640.00", "Ore/giorno: 8", "Giorni/anno: 240",
          "Fonte: " + itemOriginText(541), "Esposizione annuale (ff/cc): 0.05700",
          "Esposizione annuale (ff/l): 57.00"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int lh = 0;
        const std::vector<TextRecord> drawn = drawnPage(*c.calculation, PerLitre, &lh);
        ASSERT_GT(lh, 0);
        ASSERT_FALSE(drawn.empty());
        EXPECT_EQ(drawn[0].text, "Calcolo dell'esposizione annuale a fibre");
        EXPECT_EQ(drawn[0].y, lh);
        ASSERT_GE(drawn.size(), 2u);
        const LONG first = drawn[1].y;
        EXPECT_TRUE(first == 4 * lh || first == 5 * lh) << first / lh;
        size_t next = 1;
        for (size_t i = 0; i < c.lines.size(); ++i) {
            if (c.lines[i].empty())
                continue;  // the empty line after the rows
            ASSERT_LT(next, drawn.size()) << c.lines[i];
            EXPECT_EQ(drawn[next].text, c.lines[i]);
            EXPECT_EQ(drawn[next].y, first + static_cast<LONG>(i) * lh) << c.lines[i];
            ++next;
        }
        if (c.notes) {
            ASSERT_EQ(drawn.size(), next + 1);
            EXPECT_EQ(drawn[next].text, "Prima riga");
            EXPECT_EQ(drawn[next].y, first + static_cast<LONG>(c.lines.size() - 1 + 4) * lh);
        } else {
            EXPECT_EQ(drawn.size(), next);
        }
    }
}

}  // namespace
