// Widget set sources are listed in CMakeLists.txt.
