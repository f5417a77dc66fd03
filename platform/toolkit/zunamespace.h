#pragma once

// Names shared by the whole toolkit.
namespace Zu {

// Where a registered widget class comes from. Plug-ins register their classes
// as libraries; the value of Library must stay 0, plug-ins pass it literally.
enum AssemblyType { Library = 0, Application = 1 };

} // namespace Zu
