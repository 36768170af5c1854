# Lays out dist/: QuillexSetup.exe beside the package tree, each architecture
# folder completed by the monitor (24-pin), the printer interface DLL and the
# placeholder driver DLLs.
file(REMOVE_RECURSE ${DEST})
file(COPY ${SOURCE}/ DESTINATION ${DEST})
file(COPY ${EXE} DESTINATION ${DEST})
foreach(arch i386 X64)
  file(COPY_FILE ${MONITOR} ${DEST}/24Pin/${arch}/QXLMON.dll)
  file(COPY_FILE ${PRINTER_UI} ${DEST}/24Pin/${arch}/unidrvui.dll)
  file(COPY_FILE ${PRINTER_UI} ${DEST}/9Pin/${arch}/UNIDRVUI.DLL)
  foreach(dll ${DLLS_24PIN})
    file(COPY_FILE ${PLACEHOLDER} ${DEST}/24Pin/${arch}/${dll})
  endforeach()
  foreach(dll ${DLLS_9PIN})
    file(COPY_FILE ${PLACEHOLDER} ${DEST}/9Pin/${arch}/${dll})
  endforeach()
endforeach()
