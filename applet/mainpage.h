#pragma once

class KivWidget;

// Makes the applet's main page with no parent. The caller owns the result,
// which may be null while the applet has no page to show.
KivWidget *createMainPage();
