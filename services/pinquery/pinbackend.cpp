#include "pinbackend.h"

PinBackend::PinBackend(QObject *parent)
    : QObject(parent)
{ }

PinBackend::~PinBackend() = default;
