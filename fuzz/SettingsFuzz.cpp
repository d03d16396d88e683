// The settings file on any bytes: the INI layer in memory (reads, then a
// write that must read back), and the three reads of Orvane.ini from a file.
#include "FuzzSupport.h"

#include "platform/Errors.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    IniFile ini = IniFile::FromBytes(bytes);
    ini.GetString("fly1", "flydir", "");
    ini.GetInt("init", "version", 2);
    ini.GetBool("init", "first", false);
    ini.Set("Init", "Langage",
            "fran\xE7"
            "ais");
    fuzz::Require(ini.Get("init", "langage") == "fran\xE7"
                                                "ais",
                  "a key written does not read back");

    const std::string& path = fuzz::RamFiles::Get().Put("Orvane.ini", bytes);
    try {
        SessionSettings s;
        StartupRead(s, path);
        DialogRead(s, path);
        ReadChosenFile(s, path);
        fuzz::Require(s.SimulatorVersion == 1 || s.SimulatorVersion == 2,
                      "a simulator version other than 1 or 2");
    } catch (const OrvaneError&) {
    }
    return 0;
}
