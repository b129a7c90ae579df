// The bytes of setup.log: header, script line and entries without line end.
#include "setup/install_context.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class MemoryLog : public LogWriter {
public:
    void write(const char* bytes, size_t count) override { text.append(bytes, count); }
    std::string text;
};

TEST(InstallLog, HeaderScriptLineAndEntries) {
    MemoryLog log;
    InstallContext context;
    ASSERT_TRUE(setInstallFolder(context, "C:\\Quorvel\\"));
    context.log = &log;

    logHeader(context, 7, 3, 2004, 9, 5, 0);
    logScriptCopied(context);
    logEntry(context, LogCopiedFile, "C:\\Quorvel\\Quorvel.exe");
    logEntry(context, LogOpenedKey, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths");
    logEntry(context, LogCreatedKey, "Quorvel.File.qvl");
    logEntry(context, LogCreatedFolder, "C:\\Quorvel");
    logEntry(context, LogCreatedLink, "C:\\Quorvel\\hh.exe");
    logEntry(context, LogCreatedDesktopLink, "C:\\Quorvel\\Quorvel.exe");
    logEntry(context, LogModifiedFile, "C:\\Quorvel\\Quorvel.inf");

    EXPECT_EQ(log.text,
              "File creato il 7-3-2004 alle ore 9.5.0\r\n"
              "Copiato file di inizializzazione C:\\Quorvel\\setup.ini\r\n"
              "\r\nCopiato il file: C:\\Quorvel\\Quorvel.exe"
              "\r\nAperta la chiave: Software\\Microsoft\\Windows\\CurrentVersion\\App Paths"
              "\r\nCreata la chiave: Quorvel.File.qvl"
              "\r\nCreata la cartella: C:\\Quorvel"
              "\r\nCreato il link: C:\\Quorvel\\hh.exe"
              "\r\nCreato il link sul desktop: C:\\Quorvel\\Quorvel.exe"
              "\r\nModificato il file: C:\\Quorvel\\Quorvel.inf");
}

TEST(InstallLog, NothingWithoutALog) {
    InstallContext context;
    logHeader(context, 1, 1, 2000, 0, 0, 0);
    logEntry(context, LogCopiedFile, "x");  // must not crash
    EXPECT_TRUE(isCancelled(context));
    int dialog = 0;
    context.progressDialog = &dialog;
    EXPECT_FALSE(isCancelled(context));
}

}  // namespace
