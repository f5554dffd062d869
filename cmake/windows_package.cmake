# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program as a folder that runs as it is: the two programs beside exactly the DLLs,
# Qt plugins and translations they load, the manuals, the samples and the licence; and CPack's
# NSIS installer of that folder (Program Files, a Start-menu entry, an uninstaller and an entry in
# "Programs and Features").

# Qt 6 prints on Windows from Qt6PrintSupport.dll itself: there is no print-support plugin.
# The Qt that the build found: its DLLs lie in bin/, its plugins in plugins/.
find_package(Qt6 REQUIRED COMPONENTS Core)
find_package(QCustomPlotQt6 REQUIRED)
get_target_property(vtl_qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(vtl_qt_bin "${vtl_qt_core_dll}" DIRECTORY)
get_filename_component(vtl_qt_prefix "${vtl_qt_bin}" DIRECTORY)
get_target_property(vtl_qcustomplot_dll QCustomPlotQt6::QCustomPlotQt6 IMPORTED_LOCATION_RELEASE)

install(TARGETS vantorel vantorel-cli RUNTIME DESTINATION .)
install(FILES
    ${vtl_qt_bin}/Qt6Core.dll ${vtl_qt_bin}/Qt6Gui.dll ${vtl_qt_bin}/Qt6Widgets.dll
    ${vtl_qt_bin}/Qt6PrintSupport.dll ${vtl_qcustomplot_dll}
    DESTINATION .)
install(FILES ${vtl_qt_prefix}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${vtl_qt_prefix}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)

# The compiler's own runtime, which Qt's DLLs and the programs share.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE vtl_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_seh-1.dll
    OUTPUT_VARIABLE vtl_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
find_file(vtl_winpthread libwinpthread-1.dll
    PATHS /usr/x86_64-w64-mingw32/lib /usr/x86_64-w64-mingw32/bin NO_DEFAULT_PATH)
foreach(runtime vtl_libstdcxx vtl_libgcc vtl_winpthread)
    if(NOT EXISTS "${${runtime}}")
        message(FATAL_ERROR "The MinGW-w64 runtime DLL ${runtime} was not found")
    endif()
endforeach()
install(FILES ${vtl_libstdcxx} ${vtl_libgcc} ${vtl_winpthread} DESTINATION .)

# Qt's Polish texts for its standard dialogs: the same file on every platform.
set(VTL_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH "Where qtbase_pl.qm lies")
if(EXISTS ${VTL_QT_TRANSLATIONS}/qtbase_pl.qm)
    install(FILES ${VTL_QT_TRANSLATIONS}/qtbase_pl.qm DESTINATION translations)
else()
    message(WARNING "No qtbase_pl.qm in ${VTL_QT_TRANSLATIONS}: the standard dialogs stay English")
endif()

install(FILES docs/help/Vtl_HELPP.html docs/help/Vtl_HELPA.html DESTINATION .)
install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES samples/towed_glider_10_per_s.bin samples/rubber_model_5_per_s.bin
    samples/power_model_20_per_s.bin samples/hand_launch_spikes_10_per_s.bin
    samples/thermal_rubber_2_s_per_sample.bin
    DESTINATION samples)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME Vantorel)
set(CPACK_PACKAGE_VENDOR "Vantorel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Rejestrator lotu / Flight recorder: flight downloads and altitude charts")
set(CPACK_PACKAGE_FILE_NAME vantorel-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Vantorel)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Vantorel)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_NSIS_DISPLAY_NAME Vantorel)
set(CPACK_NSIS_PACKAGE_NAME Vantorel)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/packaging/vantorel.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/packaging/vantorel.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME vantorel.exe)
set(CPACK_NSIS_URL_INFO_ABOUT https://github.com/vantorel/vantorel)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH OFF)
# One Start-menu entry; its description gives the Polish and the English name.
set(CPACK_NSIS_CREATE_ICONS_EXTRA
    "CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Vantorel.lnk' '$INSTDIR\\\\vantorel.exe' '' '$INSTDIR\\\\vantorel.exe' 0 SW_SHOWNORMAL '' 'Rejestrator lotu / Flight recorder'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\Vantorel.lnk'")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer, like the program: it runs where 32-bit programs cannot (wine64 alone).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_STRIP_FILES ON)
include(CPack)
