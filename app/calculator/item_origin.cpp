// Where a value taken from the database comes from: a published figure (with
// its measuring method) or an indicative one. Every output that computes with
// such a value names it, so an invented figure never reaches a result unmarked.
#include "app/calculator/calculator.h"

#include "app/database/database.h"
#include "common/number_format.h"

namespace {

const NodeRecord* itemRecord(unsigned itemId)
{
    const NodeRecord* node = itemId != 0 ? findNode(itemId) : nullptr;
    return node && node->kind == Item ? node : nullptr;
}

bool isElectron(const std::string& method)
{
    return method == "TEM" || method == "SEM";
}

}  // namespace

const char* const MethodNotStated = "metodo non indicato";

bool isDatabaseItem(unsigned itemId)
{
    return itemRecord(itemId) != nullptr;
}

bool isCitedItem(unsigned itemId)
{
    return itemRecord(itemId) && findSource(itemId);
}

std::string itemMethod(unsigned itemId)
{
    const SourceRecord* source = itemRecord(itemId) ? findSource(itemId) : nullptr;
    return source && *source->method ? source->method : "";
}

std::string itemStatusMark(unsigned itemId)
{
    if (!isCitedItem(itemId))
        return "[indicativo]";
    std::string method = itemMethod(itemId);
    return "[citato, " + (method.empty() ? std::string(MethodNotStated) : method) + "]";
}

std::string itemOriginText(unsigned itemId)
{
    if (!itemRecord(itemId))
        return std::string();
    std::string text = "voce " + std::to_string(itemId);
    const SourceRecord* source = findSource(itemId);
    if (!source)
        return text + ", valore indicativo (non è una misura pubblicata)";
    std::string method = itemMethod(itemId);
    return text + ", citata" + (source->checked ? "" : " (fonte non verificata)") + ", " +
           (method.empty() ? std::string(MethodNotStated) : method) + ": " + source->reference;
}

unsigned keptItemId(unsigned itemId, double f, DisplayUnit unit)
{
    const NodeRecord* item = itemRecord(itemId);
    if (!item || unitValueText(f, unit) != concentrationText(item->concentration, unit))
        return 0;
    return itemId;
}

unsigned fieldItemId(const Calculation& calculation, DisplayUnit unit)
{
    return keptItemId(calculation.itemId,
                      readNumber(calculation.fText.c_str(), TypedNumberChars), unit);
}

unsigned rowItemId(const ExposureRow& row, DisplayUnit unit)
{
    return keptItemId(row.itemId, readRow(row).f, unit);
}

bool mixesMicroscopy(const std::vector<std::string>& methods)
{
    bool optical = false, electron = false;
    for (const std::string& method : methods) {
        optical = optical || method == "PCM";
        electron = electron || isElectron(method);
    }
    return optical && electron;
}
