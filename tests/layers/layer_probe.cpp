// Compiled against one folder's library to find out whether a header of
// another folder can be seen from there: LAYER_PROBE_HEADER names it.
#include LAYER_PROBE_HEADER

int layer_probe();
int layer_probe() {
    return 0;
}
