// The library's registrations with the toolkit, made when the plug-in is
// loaded and undone when it is unloaded. Static objects of one translation
// unit are constructed in the order written here, which is the order the
// theme expects: the theme library first, then the widget creators.

#include "drilldownlistitem.h"
#include "zulibrary.h"
#include "zuwidgetcreator.h"

namespace {

// Registers the applet's theme library. The applet ships no
// "libsimapplet.theme": its styles all come from the toolkit's base theme,
// so the registration adds none; it names the assembly the widget creators
// below belong to.
const ZuLibrary themeLibrary(QStringLiteral("libsimapplet"));

// Widget creators registered under the assembly "libsimapplet" go here,
// after the theme library.

// Lets the theme resolve "DrillDownListItem" to its class; rows are only
// made in code, so the creator makes none.
const ZuWidgetNullCreator<DrillDownListItem> drillDownListItemCreator(
    "DrillDownListItem", "libsimapplet", Zu::Library);

} // namespace
