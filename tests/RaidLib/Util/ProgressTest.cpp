#include <gtest/gtest.h>

#include "RaidLib/Util/ProgressCollection.h"
#include "RaidModel/Serialization/XMLWriter.h"

TEST(Progress, ElementOfALogicalDriveTask)
{
    Progress p(TASK_REBUILD, 1, TASK_STATE_IN_PROGRESS, 40);
    EXPECT_EQ(p.toXML(), "<Progress  type=\"6\" logicalDrive=\"1\" status=\"2\" percent=\"40\" "
                         "furtherInformation=\"0\" priority=\"2\" taskID=\"2147483647\" />");
}

TEST(Progress, DeviceTaskWritesTheDefinedAddressIds)
{
    Addr device(0, STORID_UNDEFINED, STORID_UNDEFINED, 1, 2, BLOCK_UNDEFINED, STORID_UNDEFINED,
                STORID_UNDEFINED);
    Progress p(TASK_VERIFY_HARD_DRIVE, device, TASK_STATE_PAUSED, 10);
    p.setPriority(TASK_PRIORITY_LOW);
    p.setTaskID(0xFFFFFFFF);
    EXPECT_EQ(p.toXML(), "<Progress  type=\"3\" controllerID=\"0\" channelID=\"1\" deviceID=\"2\" "
                         "status=\"4\" percent=\"10\" furtherInformation=\"0\" priority=\"0\" "
                         "taskID=\"-1\" />");

    // An address naming a logical drive turns it into a task on that drive.
    p.setDeviceAddr(Addr(0, STORID_UNDEFINED, 3, STORID_UNDEFINED, STORID_UNDEFINED,
                         BLOCK_UNDEFINED, STORID_UNDEFINED, STORID_UNDEFINED));
    EXPECT_EQ(p.getLogicalDrive(), 3u);
    EXPECT_NE(p.toXML().find(" logicalDrive=\"3\" status="), std::string::npos);
    EXPECT_EQ(p.toXML().find("controllerID"), std::string::npos);
}

TEST(ProgressCollection, CopiesAndComparesRecordsInOrder)
{
    ProgressCollection empty;
    EXPECT_EQ(empty.toXML(), "<ProgressCollection>  </ProgressCollection>");

    Progress a(TASK_VERIFY, 3, TASK_STATE_IN_PROGRESS, 10);
    Progress b(TASK_CLEAR, 4, TASK_STATE_COMPLETE, 100);
    ProgressCollection c;
    c.add(a);
    c.add(b);
    a.setPercent(99); // the collection holds copies
    EXPECT_EQ(c.getProgressCount(), 2);
    EXPECT_EQ(c.getProgress(0).getPercent(), 10u);

    ProgressCollection copy(c);
    EXPECT_TRUE(copy == c);
    copy.getProgress(1).setTaskID(7); // records differing only in task id differ
    EXPECT_TRUE(copy != c);

    char* text = nullptr;
    {
        XMLWriter w(&text);
        c.writeTo(&w);
    }
    const std::string expected = Progress(TASK_VERIFY, 3, TASK_STATE_IN_PROGRESS, 10).toXML() + b.toXML();
    EXPECT_EQ(std::string(text), expected);
    EXPECT_EQ(c.toXML(), "<ProgressCollection> " + expected + " </ProgressCollection>");
    delete[] text;
}
