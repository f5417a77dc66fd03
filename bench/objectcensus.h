#pragma once

// Counts the live QObjects of the process through QtCore's debugging hooks,
// the ones object inspectors use: once installed, every QObject constructor
// and destructor reports to them, in whatever thread it runs. Install before
// the first QObject is made, or the objects made earlier are not counted.
class ObjectCensus
{
public:
    // False when this QtCore's hook table has a layout we do not know.
    static bool install();
    static int liveObjects();
};
