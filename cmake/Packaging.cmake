# The release ZIP for Windows players: the exe, its seven sounds and a read-me,
# all in one folder, because the game looks for its files beside itself.
install(TARGETS Keyhaven RUNTIME DESTINATION .)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/sounds/ DESTINATION . FILES_MATCHING PATTERN "*.wav")
# The read-me with Windows line ends, which every Notepad shows as lines.
configure_file(${CMAKE_SOURCE_DIR}/resources/readme-windows.txt ${CMAKE_BINARY_DIR}/README.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Keyhaven)
set(CPACK_PACKAGE_VENDOR "Kesuka Software Design")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "Keyhaven-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
