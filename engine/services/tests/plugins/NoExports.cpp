// A shared library that is no plug-in: it exports none of the entry points.
namespace {
int Unused() { return 0; }
}  // namespace

int (*g_keepUnused)() = &Unused;
