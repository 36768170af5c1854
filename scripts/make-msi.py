#!/usr/bin/env python3
"""Builds QuillexPrinterDriver.msi from dist/ with wixl (Debian's msitools).

    make-msi.py DIST OUTPUT.msi VERSION

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
from xml.sax.saxutils import quoteattr

# Fixed for the product's lifetime: Windows knows the product by it.
UPGRADE_CODE = "6B0D9C52-3E5A-4F0B-9A51-2C7E1D4F8A30"
NAMESPACE = uuid.UUID(UPGRADE_CODE)
PROGRAMS = {"QuillexInstall.exe": "x86", "QuillexInstall64.exe": "x64"}
CODEPAGE = "936"


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


def tree(dist, relative, indent, components, program, renames):
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
            lines += tree(dist, rel, indent + "  ", components, program, renames)
            lines.append(f"{indent}</Directory>")
            continue
        component = ident("c", rel)
        components.append(component)
        file_id = "InstallProgram" if rel == program else ident("f", rel)
        guid = str(uuid.uuid5(NAMESPACE, "component:" + rel.lower())).upper()
        lines.append(f'{indent}<Component Id="{component}" Guid="{guid}">')
        shown = msi_name("File", file_id, name, renames)
        lines.append(f'{indent}  <File Id="{file_id}" Name={quoteattr(shown)} Source={quoteattr(rel)} KeyPath="yes"/>')
        lines.append(f"{indent}</Component>")
    return lines


def wxs(dist, version, program, renames):
    components = []
    files = tree(dist, "", "          ", components, program, renames)
    folder = "ProgramFiles64Folder" if PROGRAMS[program] == "x64" else "ProgramFilesFolder"
    refs = "\n".join(f'      <ComponentRef Id="{c}"/>' for c in components)
    return f"""<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="Quillex Printer Driver" Language="2052" Codepage="{CODEPAGE}" Version="{version}"
           Manufacturer="Quillex" UpgradeCode="{UPGRADE_CODE}">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine"
             Description="Quillex 24-pin and 9-pin printer drivers" Manufacturer="Quillex"/>
    <Media Id="1" Cabinet="driver.cab" EmbedCab="yes"/>
    <Property Id="ARPNOMODIFY" Value="1"/>
    <Condition Message="MODEL and PORT are needed, for example: msiexec /i QuillexPrinterDriver.msi /qn MODEL=QX-630K PORT=LPT1:">Installed OR (MODEL AND PORT)</Condition>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="{folder}">
        <Directory Id="QuillexFolder" Name="Quillex">
          <Directory Id="INSTALLDIR" Name="PrinterDriver">
{chr(10).join(files)}
          </Directory>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Driver" Level="1">
{refs}
    </Feature>
    <!-- As the system account, from the installed folder; a failing exit code fails the MSI (1603). -->
    <CustomAction Id="InstallPrinter" FileKey="InstallProgram" ExeCommand="/install /model &quot;[MODEL]&quot; /port &quot;[PORT]&quot;"
                  Execute="deferred" Impersonate="no" Return="check"/>
    <CustomAction Id="UninstallPrinters" FileKey="InstallProgram" ExeCommand="/uninstall /all"
                  Execute="deferred" Impersonate="no" Return="check"/>
    <!-- Numbered: wixl places After/Before actions behind InstallFinalize. Removal runs before RemoveFiles
         (1700 of 3500), installation after PublishProduct (6500 of 6600). -->
    <InstallExecuteSequence>
      <Custom Action="InstallPrinter" Sequence="6500">NOT Installed</Custom>
      <Custom Action="UninstallPrinters" Sequence="1700">REMOVE~="ALL"</Custom>
    </InstallExecuteSequence>
  </Product>
</Wix>
"""


def main():
    dist, output, version = sys.argv[1:4]
    program = next((p for p in PROGRAMS if os.path.isfile(os.path.join(dist, p))), None)
    if not program:
        sys.exit(f"make-msi: {dist} holds no install program")
    output = os.path.abspath(output)
    source = os.path.splitext(output)[0] + ".wxs"
    renames = []
    with open(source, "w", encoding="utf-8") as f:
        f.write(wxs(dist, version, program, renames))
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
        subprocess.run(command, check=True)


if __name__ == "__main__":
    main()
