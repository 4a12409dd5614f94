#pragma once
// Schemas shaped like the stores' tables, for the engine's tests.
#include "store/TableSchema.h"

namespace TableTestSchemas
{

inline TableSchema events()
{
    TableSchema s;
    s.fields = {{"ID", FieldType::AutoInc},           {"Layer", FieldType::Integer},
                {"StartTime", FieldType::DateTime},   {"EndTime", FieldType::DateTime},
                {"AllDay", FieldType::Boolean},       {"AlarmSet", FieldType::Boolean},
                {"AlarmAdvTime", FieldType::Integer}, {"AlarmAdvUnit", FieldType::Integer},
                {"Subject", FieldType::Text, 256},    {"Description", FieldType::Memo},
                {"Recurrent", FieldType::Boolean},    {"RadioButton1", FieldType::Integer},
                {"RadioButton2", FieldType::Integer}, {"RadioButton3", FieldType::Integer},
                {"Edit1", FieldType::Integer},        {"Edit2", FieldType::Integer},
                {"Edit3", FieldType::Integer},        {"ComboBox1", FieldType::Integer},
                {"ComboBox2", FieldType::Integer},    {"ComboBox3", FieldType::Integer},
                {"ComboBox4", FieldType::Integer},    {"Weekdays", FieldType::Text, 7},
                {"ExceptionList", FieldType::Blob},   {"Updates", FieldType::Blob}};
    s.indexes = {{"INDEX", {{"StartTime"}, {"EndTime", true}, {"Subject"}, {"ID"}}}};
    return s;
}

inline TableSchema layers()
{
    TableSchema s;
    s.fields = {{"ID", FieldType::AutoInc},     {"Row", FieldType::Integer},
                {"Name", FieldType::Text, 256}, {"Show", FieldType::Boolean},
                {"Color", FieldType::Integer},  {"Archiving", FieldType::Integer},
                {"Days", FieldType::Integer},   {"Updates", FieldType::Blob}};
    s.indexes = {{"ROW", {{"Row"}}}};
    return s;
}

} // namespace TableTestSchemas
