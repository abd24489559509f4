# Every target of the project links kiv_warnings, so the warning set lives in one place.
add_library(kiv_warnings INTERFACE)
target_compile_options(kiv_warnings INTERFACE
    -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual)
target_compile_definitions(kiv_warnings INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING QT_NO_CAST_FROM_BYTEARRAY
    QT_USE_QSTRINGBUILDER)
