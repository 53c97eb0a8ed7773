// Calendar sources are listed in CMakeLists.txt.
