// PostScript printer fixture and printed-output readers.
#include "tests/win32/browse/print_fixture.h"

#include <winspool.h>

#include <cstdio>
#include <cstring>

#include "app/ui/printer.h"

namespace {

const char DriverName[] = "Quorvel PostScript";
const char PortName[] = "LPT1:";
const char SpoolerKey[] = "Software\\Wine\\Printing\\Spooler";

// Wine's own kernel32 export: the host path of a Windows path.
using UnixName = char*(CDECL*)(LPCWSTR);

}  // namespace

std::string unixPath(const std::string& windowsPath)
{
    static UnixName convert = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return std::string();
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
    char* converted = convert(wide);
    std::string result = converted ? converted : "";
    if (converted)
        HeapFree(GetProcessHeap(), 0, converted);
    return result;
}

std::string outputFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    if (char* slash = std::strrchr(path, '\\'))
        slash[1] = '\0';
    std::string folder = std::string(path) + "print-output";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void runHostShell(const std::string& command)
{
    std::string line = "/bin/sh -c \"" + command + "\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA("/bin/sh", buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

namespace {

std::string printedFileWindows()
{
    return outputFolder() + "\\printed.ps";
}

bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool waitForFile(const std::string& path, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        if (fileExists(path))
            return true;
        Sleep(20);
    } while (GetTickCount() - start < milliseconds);
    return fileExists(path);
}

std::string readFile(const std::string& path)
{
    std::string content;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            content.append(buffer, n);
        std::fclose(file);
    }
    return content;
}

bool writePpd(std::string* ppdPath)
{
    HMODULE spooler = LoadLibraryExA("winspool.drv", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC resource = spooler ? FindResourceA(spooler, MAKEINTRESOURCEA(1), "PPDFILE") : nullptr;
    if (!resource)
        return false;
    const DWORD size = SizeofResource(spooler, resource);
    const void* data = LockResource(LoadResource(spooler, resource));
    char folder[MAX_PATH] = "";
    DWORD needed = 0;
    if (!data || !GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder),
                                             sizeof folder, &needed))
        return false;
    *ppdPath = std::string(folder) + "\\quorvel-test.ppd";
    HANDLE file = CreateFileA(ppdPath->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, data, size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

}  // namespace

bool installPostScriptPrinter(const char* name)
{
    const std::string output = unixPath(printedFileWindows());
    if (output.empty()) {
        std::fprintf(stderr, "print fixture: no host path for %s\n", printedFileWindows().c_str());
        return false;
    }
    HKEY key;
    if (RegCreateKeyA(HKEY_CURRENT_USER, SpoolerKey, &key) != ERROR_SUCCESS)
        return false;
    RegSetValueExA(key, PortName, 0, REG_SZ, reinterpret_cast<const BYTE*>(output.c_str()),
                   static_cast<DWORD>(output.size() + 1));
    RegCloseKey(key);

    HANDLE existing = nullptr;
    if (!OpenPrinterA(const_cast<char*>(name), &existing, nullptr)) {
        std::string ppd;
        if (!writePpd(&ppd)) {
            std::fprintf(stderr, "print fixture: cannot write the PPD file\n");
            return false;
        }
        DRIVER_INFO_3A driver = {};
        driver.cVersion = 3;
        driver.pName = const_cast<char*>(DriverName);
        driver.pDriverPath = const_cast<char*>("wineps.drv");
        driver.pDataFile = const_cast<char*>(ppd.c_str());
        driver.pConfigFile = const_cast<char*>("wineps.drv");
        AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver));

        PRINTER_INFO_2A info = {};
        info.pPrinterName = const_cast<char*>(name);
        info.pPortName = const_cast<char*>(PortName);
        info.pDriverName = const_cast<char*>(DriverName);
        info.pPrintProcessor = const_cast<char*>("WinPrint");
        info.pDatatype = const_cast<char*>("RAW");
        info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
        HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
        if (!printer) {
            std::fprintf(stderr, "print fixture: AddPrinter failed (%lu)\n", GetLastError());
            return false;
        }
        ClosePrinter(printer);
    } else {
        ClosePrinter(existing);
    }
    return SetDefaultPrinterA(name) != FALSE;
}

NoDefaultPrinter::NoDefaultPrinter()
{
    GetProfileStringA("windows", "device", "", saved_, sizeof saved_);
    WriteProfileStringA("windows", "device", "");
}

NoDefaultPrinter::~NoDefaultPrinter()
{
    WriteProfileStringA("windows", "device", saved_);
}

void forgetPrintedFile()
{
    DeleteFileA(printedFileWindows().c_str());
}

bool somethingWasPrinted(DWORD milliseconds)
{
    return waitForFile(printedFileWindows(), milliseconds);
}

std::string printedText(const char* name)
{
    const std::string ps = printedFileWindows();
    if (!waitForFile(ps, 5000))
        return std::string();
    Sleep(100);  // the spooler may still be writing the last page
    const std::string folder = outputFolder();
    const std::string base = folder + "\\" + name;
    const std::string text = base + ".txt";
    DeleteFileA(text.c_str());
    const std::string hostPs = unixPath(ps);
    const std::string hostBase = unixPath(base);
    runHostShell("ps2pdf '" + hostPs + "' '" + hostBase + ".pdf' && pdftoppm -png -r 60 -f 1 -l 1 "
                 "-singlefile '" + hostBase + ".pdf' '" + hostBase + "' && pdftotext -layout '" +
                 hostBase + ".pdf' '" + hostBase + ".tmp' && mv '" + hostBase + ".tmp' '" +
                 hostBase + ".txt'");
    if (!waitForFile(text, 30000))
        return std::string();
    // pdftotext writes UTF-8; the product's texts are Windows-1252.
    const std::string utf8 = readFile(text);
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], wideLength);
    const int length = WideCharToMultiByte(1252, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(1252, 0, wide.data(), wideLength, &narrow[0], length, nullptr, nullptr);
    return narrow;
}

std::string withoutSpaces(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\r' && c != '\n' && c != '\f' && c != '\t')
            out += c;
    return out;
}

namespace {

int CALLBACK collectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data)
{
    if (record->iType != EMR_EXTTEXTOUTW)
        return 1;
    const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
    const auto* wide = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) +
                                                        text->emrtext.offString);
    const int count = static_cast<int>(text->emrtext.nChars);
    std::string narrow(static_cast<size_t>(count) * 2 + 1, '\0');
    const int length = WideCharToMultiByte(1252, 0, wide, count, &narrow[0],
                                           static_cast<int>(narrow.size()), nullptr, nullptr);
    narrow.resize(length > 0 ? static_cast<size_t>(length) : 0);
    reinterpret_cast<std::vector<TextRecord>*>(data)->push_back(
        {static_cast<int>(text->emrtext.ptlReference.x), static_cast<int>(text->emrtext.ptlReference.y),
         narrow});
    return 1;
}

}  // namespace

std::vector<TextRecord> metafileText(const std::function<void(HDC)>& draw)
{
    std::vector<TextRecord> records;
    HDC printer = defaultPrinterDC();
    if (!printer)
        return records;
    HDC metafile = CreateEnhMetaFileA(printer, nullptr, nullptr, nullptr);
    if (metafile) {
        // Wine's metafile DCs answer GetTextMetrics only once a font has been
        // selected; a printer DC always has its default font.
        SelectObject(metafile, GetStockObject(SYSTEM_FONT));
        draw(metafile);
        HENHMETAFILE picture = CloseEnhMetaFile(metafile);
        EnumEnhMetaFile(nullptr, picture, collectText, &records, nullptr);
        DeleteEnhMetaFile(picture);
    }
    DeleteDC(printer);
    return records;
}

int metafileLineHeight()
{
    int height = 0;
    metafileText([&](HDC dc) {
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        height = metrics.tmHeight + metrics.tmExternalLeading;
    });
    return height;
}

void saveWindowPicture(HWND window, const char* name)
{
    RECT box;
    GetWindowRect(window, &box);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, box.left, box.top, SRCCOPY);
    SelectObject(memory, previous);

    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + stride * static_cast<DWORD>(height);
    const std::string bmp = outputFolder() + "\\" + name + ".bmp";
    if (FILE* out = std::fopen(bmp.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        std::fwrite(bits, stride, static_cast<size_t>(height), out);
        std::fclose(out);
    }
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    const std::string host = unixPath(bmp);
    runHostShell("convert '" + host + "' '" + host.substr(0, host.size() - 4) + ".png' && rm -f '" + host + "'");
}
