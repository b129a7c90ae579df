// The .qvl calculation file: section QUORVEL and one section EXPO_n per row
// of a multiple calculation, read and written through the profile functions.
#include "app/calculator/calculator.h"

#include "common/cp1252.h"
#include "common/number_format.h"
#include "common/profile.h"

#include <cstring>

namespace {

constexpr unsigned ValueBufferSize = TextLimit + 1;

std::string readText(Profile& profile, const char* section, const char* key)
{
    char buffer[ValueBufferSize];
    unsigned count = profile.readString(section, key, "", buffer, sizeof buffer);
    if (count >= sizeof buffer)
        count = sizeof buffer - 1;
    buffer[count] = '\0';
    return buffer;
}

// ID_VOCE names an item of the database, or nothing (0).
unsigned readItemId(Profile& profile, const char* section)
{
    int id = profile.readInt(section, ItemKey, 0);
    return id > 0 && isDatabaseItem(static_cast<unsigned>(id)) ? static_cast<unsigned>(id) : 0;
}

// A line break inside a value would end the key's line and let the rest of
// the text read as keys or sections of its own.
std::string oneLine(const std::string& text)
{
    std::string line;
    line.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            line += ' ';
        } else {
            line += c;
        }
    }
    return line.size() > TextLimit ? line.substr(0, TextLimit) : line;
}

class Writer {
public:
    explicit Writer(Profile& profile) : profile_(profile) {}

    void put(const char* section, const char* key, const std::string& value)
    {
        if (ok_)
            ok_ = profile_.writeString(section, key, oneLine(value).c_str());
    }

    // Drops a key left by an earlier save, so that a value typed over an
    // item's does not keep naming the item.
    void remove(const char* section, const char* key)
    {
        char value[2];
        if (ok_ && profile_.readString(section, key, "", value, sizeof value) > 0)
            ok_ = profile_.writeString(section, key, nullptr);
    }

    void putItem(const char* section, unsigned itemId)
    {
        if (itemId != 0)
            put(section, ItemKey, std::to_string(itemId));
        else
            remove(section, ItemKey);
    }

    bool ok() const { return ok_; }

private:
    Profile& profile_;
    bool ok_ = true;
};

}  // namespace

std::string rowSection(int index)
{
    return "EXPO_" + std::to_string(index);
}

const char* const WriteFailedMessage = "Impossibile scrivere il file: il calcolo non è stato salvato.";
const char* const ReadOnlyFileMessage =
    "Il file è di sola lettura: il calcolo non è stato salvato e il file resta com'era.\r\n"
    "Salvare il calcolo con un altro nome?";

CalculationFile readCalculationFile(Profile& profile)
{
    CalculationFile file;
    file.unit = displayUnitOf(profile.readInt(MainSection, UnitKey, 0));
    file.multiple = profile.readInt(MainSection, MultipleKey, 0) != 0;
    if (file.multiple) {
        int count = profile.readInt(MainSection, RowCountKey, 0);
        if (count > MaxFileRows)
            count = MaxFileRows;
        for (int i = 0; i < count; ++i) {
            std::string section = rowSection(i);
            RowValues row;
            row.description = readText(profile, section.c_str(), RowDescriptionKey);
            row.f = readNumber(readText(profile, section.c_str(), FibreKey).c_str());
            row.t = readNumber(readText(profile, section.c_str(), HoursKey).c_str());
            row.g = readNumber(readText(profile, section.c_str(), DaysKey).c_str());
            // The partial is not read: the partial is recomputed.
            file.rows.push_back(row);
            file.rowItems.push_back(readItemId(profile, section.c_str()));
        }
    } else {
        file.description = readText(profile, MainSection, DescriptionKey);
        file.fText = readText(profile, MainSection, FibreKey);
        file.tText = readText(profile, MainSection, HoursKey);
        file.gText = readText(profile, MainSection, DaysKey);
        file.itemId = readItemId(profile, MainSection);
    }
    // ESPOSIZIONE always holds ff/cc, whatever the unit.
    file.resultCc = readText(profile, MainSection, ExposureKey);
    file.resultL = fixedText(timesThousand(readNumber(file.resultCc.c_str())), 2);
    file.notes = readText(profile, MainSection, NotesKey);
    return file;
}

std::string readCalculationNote(Profile& profile)
{
    return readText(profile, MainSection, NotesKey);
}

bool isCalculationProfile(Profile& profile)
{
    char keys[4] = "";
    return profile.readKeys(MainSection, keys, sizeof keys) > 0;
}

bool applyCalculationFile(const CalculationFile& file, const std::string& path,
                          Calculation& calculation, DisplayUnit* unit)
{
    if (path.size() > PathLimit)
        return false;
    // What stays of the calculation (the F field, the hidden rows) goes
    // into the file's unit, so that nothing is later added in another one.
    convertCalculation(calculation, *unit, file.unit);
    *unit = file.unit;
    calculation.multiple = file.multiple;
    if (file.multiple) {
        calculation.rows.clear();
        for (size_t i = 0; i < file.rows.size(); ++i) {
            RowValues values = file.rows[i];
            calculation.rows.push_back(writeRow(values, *unit));
            calculation.rows.back().itemId = i < file.rowItems.size() ? file.rowItems[i] : 0;
        }
    } else {
        calculation.description = file.description;
        calculation.itemId = file.itemId;
        for (auto [field, text] : {std::pair{&calculation.fText, &file.fText},
                                   std::pair{&calculation.tText, &file.tText},
                                   std::pair{&calculation.gText, &file.gText}}) {
            TypedNumberCheck check = checkTypedNumber(*text);
            *field = check.accepted ? *text : check.keptText;
            applyFieldChange(calculation, *unit);
        }
    }
    calculation.resultCc = file.resultCc;
    calculation.resultL = file.resultL;
    calculation.notes = file.notes;
    calculation.currentFile = path;
    return true;
}

bool writeCalculationFile(Profile& profile, const std::string& path, Calculation& calculation,
                          DisplayUnit unit)
{
    if (path.size() > PathLimit)
        return false;
    Writer writer(profile);
    if (calculation.multiple) {
        writer.put(MainSection, MultipleKey, "1");
        int index = 0;
        for (const ExposureRow& row : calculation.rows) {
            RowValues values = readRow(row);
            std::string section = rowSection(index++);
            writer.put(section.c_str(), RowDescriptionKey, values.description);
            writer.put(section.c_str(), FibreKey, unitValueText(values.f, unit));
            writer.put(section.c_str(), HoursKey, fixedText(values.t, 3));
            writer.put(section.c_str(), DaysKey, fixedText(values.g, 1));
            writer.put(section.c_str(), PartialKey, unitValueText(values.partial, unit));
            writer.putItem(section.c_str(), rowItemId(row, unit));
        }
        writer.put(MainSection, RowCountKey, std::to_string(index));
    } else {
        writer.put(MainSection, MultipleKey, "0");
        writer.put(MainSection, DescriptionKey, calculation.description);
        writer.put(MainSection, FibreKey, calculation.fText);
        writer.put(MainSection, HoursKey, calculation.tText);
        writer.put(MainSection, DaysKey, calculation.gText);
        writer.putItem(MainSection, fieldItemId(calculation, unit));
    }
    writer.put(MainSection, ExposureKey, calculation.resultCc);
    writer.put(MainSection, ExposureLitreKey, calculation.resultL);
    writer.put(MainSection, NotesKey, calculation.notes);
    writer.put(MainSection, UnitKey, std::to_string(unit));
    if (!writer.ok())
        return false;
    calculation.currentFile = path;
    return true;
}

bool isCalculationFileName(const char* path)
{
    const char* dot = path != nullptr ? std::strrchr(path, '.') : nullptr;
    if (dot == nullptr || std::strlen(dot) != 4)
        return false;
    const char* extension = ".qvl";
    for (int i = 1; i < 4; ++i) {
        char c = dot[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != extension[i])
            return false;
    }
    return true;
}

namespace {

bool isSlash(char c)
{
    return c == '\\' || c == '/';
}

// The folder part of a path, without its last slash unless it is a drive's
// root ("C:\\"); "" when it has none.
std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return "";
    return path.substr(0, slash > 0 && path[slash - 1] == ':' ? slash + 1 : slash);
}

}  // namespace

bool isInsideFolder(const std::string& path, const std::string& folder)
{
    std::string base = folder;
    while (!base.empty() && isSlash(base.back()))
        base.pop_back();
    if (base.empty() || path.size() <= base.size() || !isSlash(path[base.size()]))
        return false;
    for (size_t i = 0; i < base.size(); ++i) {
        const unsigned char a = static_cast<unsigned char>(path[i]);
        const unsigned char b = static_cast<unsigned char>(base[i]);
        if (isSlash(a) && isSlash(b))
            continue;
        if (cp1252Lower(a) != cp1252Lower(b))
            return false;
    }
    return true;
}

std::string fileDialogFolder(const std::string& currentFile, const std::string& programFolder,
                             const std::string& documentsFolder)
{
    const std::string folder = folderOf(currentFile);
    if (!folder.empty() && !isInsideFolder(currentFile, programFolder))
        return folder;
    return documentsFolder;
}
