// The coordinate picker's entry point.
#include "pickmark/pickmark.h"

int main() { return pickmark::RunPickmark(); }
