// A loadable library that is no terminal library: it lacks SCardComand.
extern "C" __attribute__((visibility("default"))) int notATerminal()
{
    return 0;
}
