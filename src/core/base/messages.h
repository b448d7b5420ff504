#pragma once

// The message texts that several windows share, exactly as the user sees them.
inline constexpr char msg_type_data[] = "Please type the data in the field.";
inline constexpr char msg_data_not_correct[] = "Sorry, the data is not correct.";
inline constexpr char msg_select_lotto[] = "Please select a Lotto in the 'Lotto' window.";
inline constexpr char msg_select_tset[] = "Please select a Targeted Set in the 'Targeted Sets' window.";
inline constexpr char msg_select_system[] = "Please select a system in the 'Systems' window.";
inline constexpr char msg_incorrect_date[] = "Incorrect date.";
inline constexpr char msg_calculate_fa[] = " Please calculate Forecasting Abilities.";
inline constexpr char msg_incorrect_lotto[] = "Incorrect data about Lotto.";
inline constexpr char msg_incorrect_tset_size[] = "Incorrect size of the Targeted Set.";
inline constexpr char msg_type_name[] = "Please type a name.";
inline constexpr char msg_select_draw_numbers[] = "Please select numbers in the draw";
inline constexpr char msg_select_tset_row[] = "Please select a row in the 'Targeted Sets' table.";
inline constexpr char msg_draws_unread[] =
    "The data was not saved. The file 'draws.txt' of this Lotto could not be read.";
inline constexpr char msg_draws_not_loaded[] =
    "The data was not saved. The draws of this Lotto are not in the table: please select the Lotto "
    "in the list first.";
inline constexpr char msg_set_unread[] =
    "The data was not saved. Reading the file of this set stopped at line %1, so the rows after it "
    "are not in the table. Please correct the file.";
inline constexpr char msg_file_changed[] =
    "The file '%1' has been changed since it was loaded, perhaps by another program. Save over it?";
inline constexpr char msg_no_draws_data[] = "There is no draws data on the 'Lotto' form.";
inline constexpr char msg_select_size[] = "Please select the size of the set.";
inline constexpr char msg_select_index[] = "Please select an Index.";
inline constexpr char msg_select_number[] = "Please select a Number.";
inline constexpr char msg_index_exceeds[] = "The index exceeds the size of the set.";
inline constexpr char msg_number_repeated[] = "This number was previously selected.";
inline constexpr char msg_incorrect_cell[] = "Incorrect data in the cell ";
inline constexpr char msg_strategy_name[] = "Name of the strategy";
