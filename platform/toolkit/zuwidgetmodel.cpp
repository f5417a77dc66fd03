#include "zuwidgetmodel.h"

ZuWidgetModel::ZuWidgetModel(QObject *parent)
    : QObject(parent)
{ }

ZuWidgetModel::~ZuWidgetModel() = default;
