#pragma once

class KivWidget;

// Makes the applet's main page with no parent; never null. The applet keeps
// it only through a guard: whoever shows the page (the host) destroys it.
KivWidget *createMainPage();
