# Lays out dist/: the programs (PROGRAMS: the wizard, the install program and
# the 64-bit install program) beside the package tree, each architecture
# folder completed by the monitor (24-pin), the printer interface DLL and the
# placeholder driver DLLs, built for that architecture (BINARIES_i386,
# BINARIES_X64: the folders holding them).
file(REMOVE_RECURSE ${DEST})
file(COPY ${SOURCE}/ DESTINATION ${DEST})
file(COPY ${PROGRAMS} DESTINATION ${DEST})
foreach(arch i386 X64)
  set(bin ${BINARIES_${arch}})
  file(COPY_FILE ${bin}/QXLMON.dll ${DEST}/24Pin/${arch}/QXLMON.dll)
  file(COPY_FILE ${bin}/printer_ui.dll ${DEST}/24Pin/${arch}/unidrvui.dll)
  file(COPY_FILE ${bin}/printer_ui.dll ${DEST}/9Pin/${arch}/UNIDRVUI.DLL)
  foreach(dll ${DLLS_24PIN})
    file(COPY_FILE ${bin}/placeholder.dll ${DEST}/24Pin/${arch}/${dll})
  endforeach()
  foreach(dll ${DLLS_9PIN})
    file(COPY_FILE ${bin}/placeholder.dll ${DEST}/9Pin/${arch}/${dll})
  endforeach()
endforeach()

# What a maker ships beside the installer: its configuration and readme, kept
# as UTF-8 in the source tree and saved as GBK (code page 936), as the
# installer reads them, and the fonts folder with a freely licensed CJK font.
file(GLOB setup_files RELATIVE ${SETUP_FILES} ${SETUP_FILES}/*)
foreach(name ${setup_files})
  execute_process(COMMAND iconv -f UTF-8 -t GBK ${SETUP_FILES}/${name}
                  OUTPUT_FILE ${DEST}/${name} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${name} cannot be saved as GBK")
  endif()
endforeach()
file(MAKE_DIRECTORY ${DEST}/字体)
file(COPY ${FONT_FILE} DESTINATION ${DEST}/字体)
