#include "mainpage.h"

KivWidget *createMainPage()
{
    // The SIM card page does not exist yet; the host shows nothing for a null page.
    return nullptr;
}
