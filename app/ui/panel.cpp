// The description panel's content record, behind the small interface the
// tree and the copy and print commands use.
#include "app/ui/panel.h"

#include "common/bounded_text.h"

PanelContent* panelContent(HWND panel)
{
    return panel ? reinterpret_cast<PanelContent*>(GetWindowLongPtrA(panel, 0)) : nullptr;
}

bool setPanelTitle(HWND panel, const char* title)
{
    PanelContent* content = panelContent(panel);
    if (content)
        copyBounded(content->title, title);
    return content != nullptr;
}

bool setPanelText(HWND panel, const char* text)
{
    PanelContent* content = panelContent(panel);
    if (content)
        copyBounded(content->text, text);
    return content != nullptr;
}

bool setPanelImage(HWND panel, int imageIndex)
{
    PanelContent* content = panelContent(panel);
    if (content)
        content->imageIndex = imageIndex;
    return content != nullptr;
}

void repaintPanel(HWND panel)
{
    // Without this check a null panel would invalidate every window.
    if (!panelContent(panel))
        return;
    InvalidateRect(panel, nullptr, FALSE);
    UpdateWindow(panel);
}

bool panelTexts(HWND panel, std::string* title, std::string* text)
{
    const PanelContent* content = panelContent(panel);
    if (!content)
        return false;
    // The fields are fixed buffers: read them no further than their size.
    title->assign(content->title, boundedLength(content->title, sizeof content->title));
    text->assign(content->text, boundedLength(content->text, sizeof content->text));
    return true;
}
