// The frame's marker text, kept in the library's static data for tools that
// look at a built file. Nothing in the system reads it.
extern "C" {
extern const char vrel_script_helper_signature[];
__attribute__((used)) const char vrel_script_helper_signature[] =
    "VREL_SIG,name=vrel_script_helper,type=LIB,version=1.0.0.1,date=08/12/2026,"
    "author=Cue control team";
}
