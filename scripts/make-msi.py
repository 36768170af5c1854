#!/usr/bin/env python3
"""Builds QuillexPrinterDriver.msi from dist/ with wixl (Debian's msitools).

    make-msi.py DIST OUTPUT.msi VERSION ACTION.dll

ACTION.dll (QuillexMsiAction.dll of the same build) runs the installed
install program for the MSI and writes its lines into the MSI's log.

A newer version replaces an installed older one (a major upgrade: one entry
in the installed programs, the printers kept); an older one over a newer one
is refused. Windows Installer compares only the first three fields of the
version. MODEL and PORT are kept in the registry at install time, so that
an upgrade or a repair (msiexec /f) without them brings back the same
printer; given again to an installed product, they add that printer.

The .wxs is written beside the MSI from the files dist/ holds at that moment,
so the package never misses one. The shipped dist/ makes a 32-bit (x86)
package: one MSI for 32- and 64-bit Windows, where the 32-bit
QuillexInstall.exe hands the installation to QuillexInstall64.exe. The
64-bit test build's dist/, which has only QuillexInstall64.exe, makes an
x64 package around that.

wixl drops names that are not ASCII (the readme, the fonts folder): they go
in under ASCII stand-ins, and msibuild writes the real names afterwards into
a database of code page 936.
"""
import os
import subprocess
import sys
import tempfile
import uuid
from xml.sax.saxutils import escape, quoteattr

# Fixed for the product's lifetime: Windows knows the product by it.
UPGRADE_CODE = "6B0D9C52-3E5A-4F0B-9A51-2C7E1D4F8A30"
NAMESPACE = uuid.UUID(UPGRADE_CODE)
PROGRAMS = {"QuillexInstall.exe": "x86", "QuillexInstall64.exe": "x64"}
TEMPLATE_PLATFORMS = {"x86": "Intel", "x64": "x64"}
LANGUAGE = "2052"
CODEPAGE = "936"
# Where the install keeps MODEL and PORT for upgrades and repairs.
SAVED_KEY = r"Software\Quillex\PrinterDriver"
SAVED_COMPONENT_GUID = str(uuid.uuid5(NAMESPACE, "component:saved choice")).upper()
SECURE_PROPERTIES = "NEWERVERSIONFOUND;OLDERVERSIONFOUND;MODEL;PORT;SAVEDMODEL;SAVEDPORT"
# wixl drops texts that are not ASCII: each launch condition's message goes in
# by msibuild afterwards, found by its condition.
NEEDS_MODEL_AND_PORT = "Installed OR (MODEL AND PORT)"
NO_DOWNGRADE = "Installed OR NOT NEWERVERSIONFOUND"
MESSAGES = {
    NEEDS_MODEL_AND_PORT: "需要 MODEL 和 PORT，例如：msiexec /i QuillexPrinterDriver.msi /qn MODEL=QX-630K PORT=LPT1:",
    NO_DOWNGRADE: "已安装更新版本的 Quillex 打印机驱动程序，不能用较旧的版本替换它。如需降级，请先卸载已安装的版本。",
}


def ident(prefix, relative):
    return prefix + uuid.uuid5(NAMESPACE, relative.lower()).hex


def msi_name(table, key, name, renames):
    """`name`, or an ASCII stand-in recorded for msibuild."""
    if name.isascii():
        return name
    if "'" in name:
        sys.exit(f"make-msi: cannot name {name!r} in the MSI")
    renames.append((table, key, name))
    return key + os.path.splitext(name)[1].encode("ascii", "ignore").decode()


def tree(dist, relative, indent, components, renames):
    """The <Directory>/<Component> elements of one folder of dist/."""
    lines = []
    folder = os.path.join(dist, relative)
    for name in sorted(os.listdir(folder)):
        rel = os.path.join(relative, name) if relative else name
        path = os.path.join(dist, rel)
        if os.path.isdir(path):
            directory = ident("d", rel)
            shown = msi_name("Directory", directory, name, renames)
            lines.append(f'{indent}<Directory Id="{directory}" Name={quoteattr(shown)}>')
            lines += tree(dist, rel, indent + "  ", components, renames)
            lines.append(f"{indent}</Directory>")
            continue
        component = ident("c", rel)
        components.append(component)
        file_id = ident("f", rel)
        guid = str(uuid.uuid5(NAMESPACE, "component:" + rel.lower())).upper()
        lines.append(f'{indent}<Component Id="{component}" Guid="{guid}">')
        shown = msi_name("File", file_id, name, renames)
        lines.append(f'{indent}  <File Id="{file_id}" Name={quoteattr(shown)} Source={quoteattr(rel)} KeyPath="yes"/>')
        lines.append(f"{indent}</Component>")
    return lines


def wxs(dist, version, program, action, renames):
    components = []
    files = tree(dist, "", "          ", components, renames)
    folder = "ProgramFiles64Folder" if PROGRAMS[program] == "x64" else "ProgramFilesFolder"
    refs = "\n".join(f'      <ComponentRef Id="{c}"/>' for c in components)
    return f"""<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="Quillex Printer Driver" Language="{LANGUAGE}" Codepage="{CODEPAGE}" Version="{version}"
           Manufacturer="Quillex" UpgradeCode="{UPGRADE_CODE}">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine" Languages="{LANGUAGE}"
             Description="Quillex 24-pin and 9-pin printer drivers" Manufacturer="Quillex"/>
    <Media Id="1" Cabinet="driver.cab" EmbedCab="yes"/>
    <Property Id="ARPNOMODIFY" Value="1"/>
    <!-- The same version installed again replaces the other build; a newer one installed stops an older one. -->
    <Upgrade Id="{UPGRADE_CODE}">
      <UpgradeVersion Minimum="{version}" IncludeMinimum="no" OnlyDetect="yes" Property="NEWERVERSIONFOUND"/>
      <UpgradeVersion Minimum="0.0.0.0" IncludeMinimum="yes" Maximum="{version}" IncludeMaximum="yes"
                      Property="OLDERVERSIONFOUND"/>
    </Upgrade>
    <Condition Message="no downgrade">{escape(NO_DOWNGRADE)}</Condition>
    <Condition Message="model and port">{escape(NEEDS_MODEL_AND_PORT)}</Condition>
    <Property Id="SAVEDMODEL">
      <RegistrySearch Id="SavedModel" Root="HKLM" Key="{SAVED_KEY}" Name="Model" Type="raw"/>
    </Property>
    <Property Id="SAVEDPORT">
      <RegistrySearch Id="SavedPort" Root="HKLM" Key="{SAVED_KEY}" Name="Port" Type="raw"/>
    </Property>
    <CustomAction Id="RestoreModel" Property="MODEL" Value="[SAVEDMODEL]"/>
    <CustomAction Id="RestorePort" Property="PORT" Value="[SAVEDPORT]"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="{folder}">
        <Directory Id="QuillexFolder" Name="Quillex">
          <Directory Id="INSTALLDIR" Name="PrinterDriver">
{chr(10).join(files)}
            <Component Id="SavedChoice" Guid="{SAVED_COMPONENT_GUID}">
              <RegistryValue Root="HKLM" Key="{SAVED_KEY}" Name="Model" Type="string" Value="[MODEL]" KeyPath="yes"/>
              <RegistryValue Root="HKLM" Key="{SAVED_KEY}" Name="Port" Type="string" Value="[PORT]"/>
            </Component>
          </Directory>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Driver" Level="1">
{refs}
      <ComponentRef Id="SavedChoice"/>
    </Feature>
    <!-- As the system account, the installed program; a failing exit code fails the MSI (1603).
         Install, upgrade, repair and a maintenance install with another MODEL or PORT bring the printer
         on that port up to date and never add a copy; removal leaves the printers while printing is off. -->
    <Binary Id="InstallProgramAction" SourceFile={quoteattr(action)}/>
    <CustomAction Id="InstallPrinter" BinaryKey="InstallProgramAction" DllEntry="RunInstallProgram"
                  Execute="deferred" Impersonate="no" Return="check"/>
    <CustomAction Id="UninstallPrinters" BinaryKey="InstallProgramAction" DllEntry="RunInstallProgram"
                  Execute="deferred" Impersonate="no" Return="check"/>
    <!-- Each action's data: the program's command line. -->
    <CustomAction Id="InstallPrinterCommand" Property="InstallPrinter"
                  Value="&quot;[INSTALLDIR]{program}&quot; /install /model &quot;[MODEL]&quot; /port &quot;[PORT]&quot; /update"/>
    <CustomAction Id="UninstallPrintersCommand" Property="UninstallPrinters"
                  Value="&quot;[INSTALLDIR]{program}&quot; /uninstall /all /spooleroptional"/>
    <!-- Numbered: wixl places After/Before actions behind InstallFinalize. The saved choice comes back
         between AppSearch (50) and LaunchConditions (100); the older product goes before anything is
         installed (1401, after InstallValidate), and its removal leaves the printers, which the new one
         takes over; removal runs before RemoveFiles (1700 of 3500), installation after PublishProduct
         (6500 of 6600). -->
    <InstallUISequence>
      <Custom Action="RestoreModel" Sequence="51">NOT MODEL</Custom>
      <Custom Action="RestorePort" Sequence="52">NOT PORT</Custom>
    </InstallUISequence>
    <InstallExecuteSequence>
      <Custom Action="RestoreModel" Sequence="51">NOT MODEL</Custom>
      <Custom Action="RestorePort" Sequence="52">NOT PORT</Custom>
      <RemoveExistingProducts Sequence="1401"/>
      <Custom Action="InstallPrinterCommand" Sequence="6499">NOT REMOVE~="ALL"</Custom>
      <Custom Action="InstallPrinter" Sequence="6500">NOT REMOVE~="ALL"</Custom>
      <Custom Action="UninstallPrintersCommand" Sequence="1699">REMOVE~="ALL" AND NOT UPGRADINGPRODUCTCODE</Custom>
      <Custom Action="UninstallPrinters" Sequence="1700">REMOVE~="ALL" AND NOT UPGRADINGPRODUCTCODE</Custom>
    </InstallExecuteSequence>
  </Product>
</Wix>
"""


def main():
    dist, output, version, action = sys.argv[1:5]
    action = os.path.relpath(action, dist)  # wixl takes sources relative to where it runs only
    program = next((p for p in PROGRAMS if os.path.isfile(os.path.join(dist, p))), None)
    if not program:
        sys.exit(f"make-msi: {dist} holds no install program")
    output = os.path.abspath(output)
    os.makedirs(os.path.dirname(output), exist_ok=True)
    source = os.path.splitext(output)[0] + ".wxs"
    renames = []
    with open(source, "w", encoding="utf-8") as f:
        f.write(wxs(dist, version, program, action, renames))
    # File sources are named relative to dist/, where wixl runs.
    subprocess.run(["wixl", "-a", PROGRAMS[program], "-o", output, source], cwd=dist, check=True)
    with tempfile.TemporaryDirectory() as folder:
        idt = os.path.join(folder, "_ForceCodepage.idt")  # msibuild takes the table's name from the file's
        with open(idt, "w", newline="") as f:
            f.write(f"\r\n\r\n{CODEPAGE}\t_ForceCodepage\r\n")
        command = ["msibuild", output, "-i", idt]
        for table, key, name in renames:
            column = "FileName" if table == "File" else "DefaultDir"
            command += ["-q", f"UPDATE {table} SET {column}='{name}' WHERE {table}='{key}'"]
        for condition, message in MESSAGES.items():
            command += ["-q", f"UPDATE LaunchCondition SET Description='{message}' WHERE Condition='{condition}'"]
        command += ["-q", f"UPDATE Property SET Value='{SECURE_PROPERTIES}' WHERE Property='SecureCustomProperties'"]
        # wixl writes the template's language as 1033 whatever the package's.
        template = f"{TEMPLATE_PLATFORMS[PROGRAMS[program]]};{LANGUAGE}"
        package_code = "{" + str(uuid.uuid4()).upper() + "}"
        command += ["-s", "Quillex Printer Driver", "Quillex", template, package_code]
        subprocess.run(command, check=True)


if __name__ == "__main__":
    main()
