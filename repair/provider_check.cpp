#include "repair/provider_check.h"

#include <array>

#include "registry/c_registry.h"

namespace {

// From the SDK's headers (adogpool.h, adojet.h, msdasql.h, msdshape.h, sqloledb.h) and the
// platform's documentation for the others.
constexpr std::array kClasses{
    ProviderClass{.ProgId = "ADODB.Connection",
                  .Clsid = "{00000514-0000-0010-8000-00AA006D2EA4}",
                  .Essential = true},
    ProviderClass{.ProgId = "ADODB.Recordset",
                  .Clsid = "{00000535-0000-0010-8000-00AA006D2EA4}",
                  .Essential = true},
    ProviderClass{.ProgId = "ADODB.Command",
                  .Clsid = "{00000507-0000-0010-8000-00AA006D2EA4}",
                  .Essential = true},
    // The OLE DB service components: ADO creates every provider through them.
    ProviderClass{.ProgId = "MSDASC.MSDAINITIALIZE",
                  .Clsid = "{2206CDB0-19C1-11D1-89E0-00C04FD7A829}",
                  .Essential = true},
    ProviderClass{.ProgId = "Microsoft.Jet.OLEDB.4.0",
                  .Clsid = "{DEE35070-506B-11CF-B1AA-00AA00B8DE95}",
                  .Essential = true},
    ProviderClass{.ProgId = "ADOX.Catalog", .Clsid = "{00000602-0000-0010-8000-00AA006D2EA4}"},
    ProviderClass{.ProgId = "JRO.JetEngine", .Clsid = "{DE88C160-FF2C-11D1-BB6F-00C04FAE22DA}"},
    ProviderClass{.ProgId = "MSDASQL", .Clsid = "{C8B522CB-5CF3-11CE-ADE5-00AA0044773D}"},
    ProviderClass{.ProgId = "MSDataShape", .Clsid = "{3449A1C8-C56C-11D0-AD72-00C04FC29863}"},
    ProviderClass{.ProgId = "SQLOLEDB", .Clsid = "{0C7FF16C-38E3-11D0-97AB-00C04FC2AD98}"},
};

std::string ReadText(IRegistryApi& registry, const std::string& key, const std::string& value) {
    cRegistry reg(registry);
    reg.ClassKey(kHkeyClassesRoot);
    reg.SectionKey(key);
    reg.ValueType(kRegSz);
    reg.ValueKey(value);
    reg.Default(std::string());
    return ToText(reg.Value());
}

} // namespace

std::span<const ProviderClass> ProviderClasses() {
    return kClasses;
}

bool ReadProviderRegistration(IRegistryApi& registry, ProviderCheck& check) {
    const std::string clsid = ReadText(registry, check.ProgId + "\\CLSID", "");
    if (clsid.empty())
        return false;
    check.Clsid = clsid;
    const std::string server = "CLSID\\" + check.Clsid + "\\InprocServer32";
    check.Library = ReadText(registry, server, "");
    check.ThreadingModel = ReadText(registry, server, "ThreadingModel");
    return true;
}

ProviderCheck CheckProviderClass(IRegistryApi& registry, IComApi& com, const ProviderClass& cls) {
    ProviderCheck check;
    check.ProgId = std::string(cls.ProgId);
    check.Clsid = std::string(cls.Clsid);
    check.Essential = cls.Essential;
    if (!ReadProviderRegistration(registry, check)) {
        check.State = ProviderState::NoProgId;
        return check;
    }
    if (check.Library.empty()) {
        check.State = ProviderState::NoClass;
        return check;
    }
    if (!com.FileExists(check.Library)) {
        check.State = ProviderState::LibraryMissing;
        return check;
    }
    check.Status = com.CreateInProcess(check.Clsid);
    check.State = check.Status >= 0 ? ProviderState::Works : ProviderState::NotCreated;
    return check;
}
