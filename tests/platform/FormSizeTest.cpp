// A form's client size from its form file, before and after its window exists.
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/FormFile.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(FormSize, ClientSizeReadBeforeTheWindowExistsLeavesRoomForTheFrame)
{
    Application->Initialize();
    for (const char* border : {"bsSingle", "bsSizeable", "bsDialog", "bsNone"}) {
        TForm* form = New<TForm>(nullptr);
        ReadComponentText(form, std::string("object Sized: TForm\r\n  BorderStyle = ") + border +
                                    "\r\n  ClientWidth = 200\r\n  ClientHeight = 100\r\nend\r\n");
        EXPECT_FALSE(form->HandleAllocated());
        EXPECT_EQ(form->ClientWidth(), 200) << border;
        EXPECT_EQ(form->ClientHeight(), 100) << border;
        RECT client;
        GetClientRect(form->Handle(), &client);
        EXPECT_EQ(client.right, 200) << border;
        EXPECT_EQ(client.bottom, 100) << border;

        form->SetClientWidth(150);
        form->SetClientHeight(60);
        GetClientRect(form->Handle(), &client);
        EXPECT_EQ(client.right, 150) << border;
        EXPECT_EQ(client.bottom, 60) << border;

        // A window narrower and lower than its own frame has no client area
        // to measure the frame by.
        form->SetClientWidth(0);
        form->SetClientHeight(0);
        form->SetBounds(form->Left(), form->Top(), 0, 0);
        form->SetClientWidth(150);
        form->SetClientHeight(60);
        GetClientRect(form->Handle(), &client);
        EXPECT_EQ(client.right, 150) << border;
        EXPECT_EQ(client.bottom, 60) << border;
        form->Free();
    }
}
