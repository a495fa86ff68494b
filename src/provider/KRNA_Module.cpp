// The CIM provider module: registers the module "KRNA_Module" with the
// provider framework. Each provider registers itself in its own source unit.
#include "KRNA_Classes.h"

CIMPLE_MODULE(KRNA_Module);
