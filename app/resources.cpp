#include "app/resources.h"

#include <QtGlobal>

void InitQuillexResources() { Q_INIT_RESOURCE(quillex); }
