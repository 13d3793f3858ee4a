# Installing on Windows (included by packaging/CMakeLists.txt): one folder, the
# programs side by side with the help files and the samples, which they look
# for beside themselves; then an installer or a ZIP made by CPack. The build
# without Qt (`make windows`) installs vorelbox-cli.exe and the help files.

# The version, the manifest and (with Qt) the icon of each program.
function(vorelbox_windows_resources target description icon)
  set(RC_NAME ${target})
  set(RC_DESCRIPTION ${description})
  set(RC_MANIFEST ${CMAKE_SOURCE_DIR}/packaging/vorelbox.manifest)
  if(icon)
    set(RC_ICON_LINE "1 ICON \"${icon}\"")
  else()
    set(RC_ICON_LINE "")
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows_resources.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()

vorelbox_windows_resources(vorelbox-cli "Vorelbox command-line tool" "")
install(TARGETS vorelbox-cli RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/docs/Readme.txt ${CMAKE_SOURCE_DIR}/docs/Vorelbox-manual.html
        ${CMAKE_SOURCE_DIR}/docs/windows.md DESTINATION .)

if(VORELBOX_GUI)
  # The icon, drawn from the SVG by the same helper as on Linux.
  set(generated ${CMAKE_CURRENT_BINARY_DIR})
  add_executable(vorelbox_render_icon render_icon.cpp)
  target_link_libraries(vorelbox_render_icon PRIVATE Qt6::Gui Qt6::Svg vorelbox_warnings)
  add_custom_command(OUTPUT ${generated}/icons/vorelbox.ico
    COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons
    COMMAND vorelbox_render_icon ${CMAKE_CURRENT_SOURCE_DIR}/vorelbox.svg ${generated}/icons 16 24 32 48 64 128 256
    DEPENDS vorelbox_render_icon ${CMAKE_CURRENT_SOURCE_DIR}/vorelbox.svg
    COMMENT "Drawing the Windows icon")
  add_custom_target(vorelbox_icons ALL DEPENDS ${generated}/icons/vorelbox.ico)
  vorelbox_windows_resources(vorelbox "Vorelbox spectrum-file manager" ${generated}/icons/vorelbox.ico)
  vorelbox_windows_resources(vorelbox-plot "Vorelbox plot helper" "")
  add_dependencies(vorelbox vorelbox_icons)
  # A window program: no console opens beside it.
  set_target_properties(vorelbox PROPERTIES WIN32_EXECUTABLE ON)
  install(TARGETS vorelbox vorelbox-plot RUNTIME DESTINATION .)

  set(sample_dir ${CMAKE_BINARY_DIR}/bin/samples)
  add_custom_command(OUTPUT ${sample_dir}/pals-4096.vsl
    COMMAND vorelbox-cli samples --output-dir ${sample_dir}
    DEPENDS vorelbox-cli
    COMMENT "Writing the sample spectra")
  add_custom_target(vorelbox_samples ALL DEPENDS ${sample_dir}/pals-4096.vsl)
  install(DIRECTORY ${sample_dir}/ DESTINATION samples)

  # Qt's libraries and plugins beside the programs, by Qt's own windeployqt.
  get_target_property(qmake Qt6::qmake IMPORTED_LOCATION)
  get_filename_component(qt_bin ${qmake} DIRECTORY)
  find_program(VORELBOX_WINDEPLOYQT windeployqt HINTS ${qt_bin} REQUIRED)
  install(CODE "
    execute_process(COMMAND \"${VORELBOX_WINDEPLOYQT}\" --release --no-translations --no-system-d3d-compiler
                            --no-opengl-sw --dir \"\${CMAKE_INSTALL_PREFIX}\"
                            \"\${CMAKE_INSTALL_PREFIX}/vorelbox.exe\" \"\${CMAKE_INSTALL_PREFIX}/vorelbox-plot.exe\"
                    RESULT_VARIABLE deployed)
    if(NOT deployed EQUAL 0)
      message(FATAL_ERROR \"windeployqt failed\")
    endif()")
endif()

# `cpack`: an NSIS installer where makensis is found, and always a ZIP.
set(CPACK_PACKAGE_NAME Vorelbox)
set(CPACK_PACKAGE_VENDOR "Vorelbox developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Spectrum-file manager for positron-lifetime spectroscopy")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Vorelbox)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/packaging/copyright)
find_program(VORELBOX_MAKENSIS makensis)
if(VORELBOX_MAKENSIS AND VORELBOX_GUI)
  set(CPACK_GENERATOR "NSIS;ZIP")
else()
  set(CPACK_GENERATOR ZIP)
endif()
set(CPACK_PACKAGE_EXECUTABLES vorelbox Vorelbox)
set(CPACK_NSIS_DISPLAY_NAME Vorelbox)
set(CPACK_NSIS_PACKAGE_NAME Vorelbox)
set(CPACK_NSIS_INSTALLED_ICON_NAME vorelbox.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
if(VORELBOX_GUI)
  set(CPACK_NSIS_MUI_ICON ${CMAKE_CURRENT_BINARY_DIR}/icons/vorelbox.ico)
  set(CPACK_NSIS_MUI_UNIICON ${CMAKE_CURRENT_BINARY_DIR}/icons/vorelbox.ico)
endif()
include(CPack)
