#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// The windows are real Qt widgets; the tests drive them without a display. The platform is set
// here rather than in CTest because test discovery runs this binary at build time.
int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
