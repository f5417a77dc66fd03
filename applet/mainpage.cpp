#include "mainpage.h"

#include "simwidget.h"

KivWidget *createMainPage()
{
    return new SimWidget(nullptr);
}
