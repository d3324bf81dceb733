/* A host written in C, standing where the facility's panel host stands: it
 * loads Tavrin.dll with LoadLibraryA, finds the factory with GetProcAddress
 * and drives the component only through its table, with the thiscall
 * function-pointer types that a host built with Microsoft's compiler uses.
 * Its own interface object is laid out the same way.
 *
 *   host_test [folder of Tavrin.dll]
 *
 * Prints one line per failed check and a closing "N passed, N failed" line;
 * exits 0 only when every check passed. */
#include <windows.h>

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* C has no classes, so GCC calls the thiscall attribute on a plain function
 * pedantic; it is applied all the same, and it is the point of this program. */
#pragma GCC diagnostic ignored "-Wattributes"
#define THISCALL __attribute__((thiscall))

/* ---- The records, with the host's 32-bit layout ---- */

typedef struct {
    int32_t device;
    int32_t reserved;
    int32_t index;
    int32_t value;
} route_status_record;

typedef struct {
    const char* command;
    const char* parts[32];
    const char* value;
    int32_t partCount;
    char hasValue;
    char* buffer;
} command_record;

typedef struct {
    uint32_t reserved0;
    uint32_t reserved1;
    const char* panel;
    const char* control;
    command_record* command;
} button_record;

_Static_assert(sizeof(route_status_record) == 16, "route_status_record");
_Static_assert(sizeof(command_record) == 148, "command_record");
_Static_assert(offsetof(command_record, value) == 132, "command_record.value");
_Static_assert(offsetof(command_record, partCount) == 136, "command_record.partCount");
_Static_assert(offsetof(command_record, hasValue) == 140, "command_record.hasValue");
_Static_assert(offsetof(command_record, buffer) == 144, "command_record.buffer");
_Static_assert(offsetof(button_record, panel) == 8, "button_record.panel");
_Static_assert(offsetof(button_record, control) == 12, "button_record.control");
_Static_assert(offsetof(button_record, command) == 16, "button_record.command");

/* ---- The host's interface object: entry 0 its own, entry 1 send ---- */

enum { max_sent = 64, max_text = 512 };

typedef struct host host;
typedef void(THISCALL* host_reserved_fn)(host* self);
typedef char*(THISCALL* host_send_fn)(host* self, const char* text, int code);

typedef struct {
    host_reserved_fn reserved;
    host_send_fn send;
} host_table;

struct host {
    const host_table* table;
    char sent[max_sent][max_text];
    int sentCount;
    int taken; /* first command not yet checked */
    int reservedCalls;
    int releaseCalls;
    int otherCodes;
    char panelReply[8];
};

static void THISCALL hostReserved(host* self) {
    ++self->reservedCalls;
}

static char* THISCALL hostSend(host* self, const char* text, int code) {
    if (code == 5) {
        /* Only the two queries hand replies back; this component sends none. */
        ++self->releaseCalls;
        return NULL;
    }
    if (code != 0) {
        ++self->otherCodes;
        return NULL;
    }
    if (self->sentCount < max_sent) {
        snprintf(self->sent[self->sentCount], max_text, "%s", text != NULL ? text : "(null)");
    }
    ++self->sentCount;
    /* A panel shown answers with a reply the host keeps. */
    return strncmp(text, "PS ", 3) == 0 ? self->panelReply : NULL;
}

static const host_table hostTable = {hostReserved, hostSend};

/* ---- The component, seen only through its table ---- */

typedef void* (*factory_fn)(host* host, const char* text);
typedef void*(THISCALL* destroy_fn)(void* self, unsigned flags);
typedef char*(THISCALL* notify_fn)(void* self, void* data, int type);

/* Entry `index` of the object's table. */
static void entryOf(void* object, int index, void* function, size_t size) {
    void** table = *(void***)object;
    memcpy(function, &table[index], size);
}

static char* notify(void* object, void* data, int type) {
    notify_fn call;
    entryOf(object, 1, &call, sizeof call);
    return call(object, data, type);
}

static char* parent(void* object, const char* text) {
    return notify(object, (void*)(uintptr_t)text, 3);
}

/* ---- Checks ---- */

static int passed;
static int failed;

static void check(int condition, const char* what) {
    if (condition) {
        ++passed;
    } else {
        ++failed;
        printf("FAILED: %s\n", what);
    }
}

/* The commands sent since the last call must be exactly `expected` (NULL-ended). */
static void expectCommands(host* h, const char* step, const char* const* expected) {
    int count = 0;
    while (expected[count] != NULL) {
        ++count;
    }
    const int got = h->sentCount - h->taken;
    int same = got == count;
    for (int i = 0; same && i < count; ++i) {
        same = strcmp(h->sent[h->taken + i], expected[i]) == 0;
    }
    if (same) {
        ++passed;
    } else {
        ++failed;
        printf("FAILED: %s: expected %d command(s):\n", step, count);
        for (int i = 0; i < count; ++i) {
            printf("    %s\n", expected[i]);
        }
        printf("  got %d:\n", got);
        for (int i = h->taken; i < h->sentCount && i < max_sent; ++i) {
            printf("    %s\n", h->sent[i]);
        }
    }
    h->taken = h->sentCount;
}

/* Writes the facility's settings into a fresh folder and points the settings
 * reader at it. */
static int writeSettings(void) {
    char folder[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length > MAX_PATH - 40) {
        return 0;
    }
    snprintf(folder + length, MAX_PATH - length, "vrel_host_test_%lu",
             (unsigned long)GetCurrentProcessId());
    CreateDirectoryA(folder, NULL);
    char file[MAX_PATH + 32];
    snprintf(file, sizeof file, "%s\\object_settings.xml", folder);
    FILE* out = fopen(file, "wb");
    if (out == NULL) {
        return 0;
    }
    fputs("<settings>\n"
          "  <section id=\"ZELK_ROUTER\">\n"
          "    <entry id=\"cue_router_number\" value=\"7\"/>\n"
          "    <entry id=\"cue_info_number\" value=\"9\"/>\n"
          "    <entry id=\"cue_OFF_source\" value=\"20\"/>\n"
          "    <entry id=\"musicdestinations\" value=\"3,4\"/>\n"
          "    <entry id=\"cuesources\" value=\"1,2\"/>\n"
          "    <entry id=\"cuedestinations\" value=\"1,2\"/>\n"
          "    <entry id=\"sourcenames\" value=\"Studio 1,Studio 2\"/>\n"
          "  </section>\n"
          "</settings>\n",
          out);
    fclose(out);
    char setting[MAX_PATH + 32];
    snprintf(setting, sizeof setting, "VREL_CONFIG_DIR=%s", folder);
    return _putenv(setting) == 0;
}

int main(int argc, char** argv) {
    char path[MAX_PATH + 16];
    snprintf(path, sizeof path, "%s%sTavrin.dll", argc > 1 ? argv[1] : "", argc > 1 ? "\\" : "");

    if (!writeSettings()) {
        printf("FAILED: cannot write the settings file\n");
        return 1;
    }
    HMODULE library = LoadLibraryA(path);
    if (library == NULL) {
        printf("FAILED: LoadLibraryA(%s): error %lu\n", path, (unsigned long)GetLastError());
        return 1;
    }
    factory_fn factory =
        (factory_fn)(void (*)(void))GetProcAddress(library, "load_vrel_client_script");
    if (factory == NULL) {
        printf("FAILED: GetProcAddress(load_vrel_client_script): error %lu\n",
               (unsigned long)GetLastError());
        return 1;
    }

    static host h;
    h.table = &hostTable;
    strcpy(h.panelReply, "ok");

    /* Start-up: the panel, then registering for and polling the cue router. */
    void* component = factory(&h, "panels");
    check(component != NULL, "the factory returns an object");
    if (component == NULL) {
        return 1;
    }
    expectCommands(
        &h, "start-up",
        (const char* const[]){"PS '1' 'panels/p1.vrel_ui'", "RR 7 1 16", "RP 7 1 16", NULL});

    /* The cue router reports its cue destinations 1 and 2 on the OFF source. */
    for (int index = 1; index <= 2; ++index) {
        route_status_record status = {7, 0, index, 20};
        check(notify(component, &status, 1) == NULL, "a route status returns null");
    }
    expectCommands(&h, "route status", (const char* const[]){NULL});

    /* The operator switches cue on. */
    command_record noCommand;
    memset(&noCommand, 0, sizeof noCommand);
    noCommand.command = "";
    for (int i = 0; i < 32; ++i) {
        noCommand.parts[i] = "";
    }
    noCommand.value = "";
    button_record press = {0, 0, "1", "ActivateCue", &noCommand};
    check(notify(component, &press, 2) == NULL, "a button returns null");
    expectCommands(&h, "cue on",
                   (const char* const[]){"TP 'text=Full Facs' '1' 'ActivateCue'",
                                         "TP 'text=Click to remove cue' '1' 'CueText'", NULL});

    /* A complete take: source 1 receives cue, destination 3 produces cue source 1. */
    check(parent(component, "Source=1") == NULL, "Source returns null");
    check(parent(component, "Destination=3") == NULL, "Destination returns null");
    check(parent(component, "Take=1") == NULL, "Take returns null");
    expectCommands(&h, "take with cue",
                   (const char* const[]){"ET 1 5000", "RC 7 20 -1 ',' 1", "RC 7 1 1 ',' 1",
                                         "IW 9 'green' 1 1",
                                         "TP 'text=Listen Only' '1' 'ActivateCue'",
                                         "TP 'text=Click to add cue' '1' 'CueText'", NULL});

    /* The message timer fires. */
    check(notify(component, (void*)(intptr_t)1, 4) == NULL, "a timer returns null");
    expectCommands(&h, "timer", (const char* const[]){"TP 'text=' '1' 'CueInfo'", "ET 1", NULL});

    /* A take without cue, and one of the clear source: both write diagnostics. */
    parent(component, "Source=2");
    parent(component, "Destination=4");
    parent(component, "Take=1");
    expectCommands(&h, "take without cue",
                   (const char* const[]){"ET 1 5000", "IW 9 'grey' 2 1", "RC 7 20 -1 ',' 1",
                                         "TP 'text=Listen Only' '1' 'ActivateCue'",
                                         "TP 'text=Click to add cue' '1' 'CueText'", NULL});
    parent(component, "Source=31");
    parent(component, "Take=1");
    expectCommands(&h, "take of the clear source",
                   (const char* const[]){"ET 1 5000", "IW 9 'grey' 2 1", "RC 7 20 -1 ',' 1",
                                         "TP 'text=Listen Only' '1' 'ActivateCue'",
                                         "TP 'text=Click to add cue' '1' 'CueText'", NULL});

    /* Parent replies belong to the component until the host releases them. */
    char* reply = parent(component, "_commands");
    check(reply != NULL && strcmp(reply, "Source=[value]\nDestination=[value]\nTake=[value]") == 0,
          "_commands answers with the three commands");
    check(notify(component, reply, 5) == NULL, "releasing a reply returns null");
    reply = parent(component, "return=all");
    check(reply != NULL && strcmp(reply, "CueRouter=7") == 0, "return=all answers CueRouter=7");
    notify(component, reply, 5);
    check(notify(component, NULL, 5) == NULL, "releasing null does nothing");
    expectCommands(&h, "parent replies", (const char* const[]){NULL});

    /* Entry 0 with flags 1: the scalar deleting destructor. */
    destroy_fn destroy;
    entryOf(component, 0, &destroy, sizeof destroy);
    void* returned = destroy(component, 1);
    check(returned == component, "entry 0 returns the object");
    expectCommands(&h, "destruction", (const char* const[]){"AS", NULL});
    check(h.sentCount > 0 && strcmp(h.sent[h.sentCount - 1], "AS") == 0, "AS is the last command");

    check(h.reservedCalls == 0, "the host's entry 0 is never called");
    check(h.releaseCalls == 0, "no reply of this host is handed back");
    check(h.otherCodes == 0, "every command is sent with code 0");
    check(FreeLibrary(library) != 0, "the library unloads");

    printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
