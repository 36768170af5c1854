#!/usr/bin/env python3
"""Builds QuillexPrinterDriver.msi from dist/ with wixl (Debian's msitools).

    make-msi.py DIST OUTPUT.msi VERSION

The .wxs is written beside the MSI from the files dist/ holds at that moment,
so the package never misses one. It is a 32-bit (x86) package: it installs
on 32- and 64-bit Windows alike, and on 64-bit Windows the 32-bit
QuillexInstall.exe hands the installation to QuillexInstall64.exe.
"""
import os
import subprocess
import sys
import uuid
from xml.sax.saxutils import quoteattr

# Fixed for the product's lifetime: Windows knows the product by it.
UPGRADE_CODE = "6B0D9C52-3E5A-4F0B-9A51-2C7E1D4F8A30"
NAMESPACE = uuid.UUID(UPGRADE_CODE)
PROGRAM = "QuillexInstall.exe"


def ident(prefix, relative):
    return prefix + uuid.uuid5(NAMESPACE, relative.lower()).hex


def tree(dist, relative, indent, components):
    """The <Directory>/<Component> elements of one folder of dist/."""
    lines = []
    folder = os.path.join(dist, relative)
    for name in sorted(os.listdir(folder)):
        rel = os.path.join(relative, name) if relative else name
        path = os.path.join(dist, rel)
        if os.path.isdir(path):
            lines.append(f'{indent}<Directory Id="{ident("d", rel)}" Name={quoteattr(name)}>')
            lines += tree(dist, rel, indent + "  ", components)
            lines.append(f"{indent}</Directory>")
            continue
        component = ident("c", rel)
        components.append(component)
        file_id = "InstallProgram" if rel == PROGRAM else ident("f", rel)
        guid = str(uuid.uuid5(NAMESPACE, "component:" + rel.lower())).upper()
        lines.append(f'{indent}<Component Id="{component}" Guid="{guid}">')
        lines.append(f'{indent}  <File Id="{file_id}" Name={quoteattr(name)} Source={quoteattr(rel)} KeyPath="yes"/>')
        lines.append(f"{indent}</Component>")
    return lines


def wxs(dist, version):
    components = []
    files = tree(dist, "", "          ", components)
    refs = "\n".join(f'      <ComponentRef Id="{c}"/>' for c in components)
    return f"""<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="Quillex Printer Driver" Language="2052" Codepage="936" Version="{version}"
           Manufacturer="Quillex" UpgradeCode="{UPGRADE_CODE}">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine"
             Description="Quillex 24-pin and 9-pin printer drivers" Manufacturer="Quillex"/>
    <Media Id="1" Cabinet="driver.cab" EmbedCab="yes"/>
    <Property Id="ALLUSERS" Value="1"/>
    <Property Id="ARPNOMODIFY" Value="1"/>
    <Condition Message="MODEL and PORT are needed, for example: msiexec /i QuillexPrinterDriver.msi /qn MODEL=QX-630K PORT=LPT1:">Installed OR (MODEL AND PORT)</Condition>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFilesFolder">
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
    <InstallExecuteSequence>
      <Custom Action="InstallPrinter" After="InstallFiles">NOT Installed</Custom>
      <Custom Action="UninstallPrinters" Before="RemoveFiles">REMOVE="ALL"</Custom>
    </InstallExecuteSequence>
  </Product>
</Wix>
"""


def main():
    dist, output, version = sys.argv[1:4]
    source = os.path.splitext(output)[0] + ".wxs"
    with open(source, "w", encoding="utf-8") as f:
        f.write(wxs(dist, version))
    # File sources are named relative to dist/, where wixl runs.
    subprocess.run(["wixl", "-a", "x86", "-o", os.path.abspath(output), os.path.abspath(source)], cwd=dist, check=True)


if __name__ == "__main__":
    main()
