# The portable PPD reader and model, as korvain_portable builds them: sourced
# by the scripts that build a PPD tool on their own (bench, dumps, fuzz).
# Needs $ppd, the folder extension/ppd.
ppd_sources=$(printf "$ppd/%s.cpp " known_feature_table ppd_allocation ppd_byte_source \
  ppd_constraint_index ppd_constraints ppd_keyword_table ppd_model ppd_model_builder \
  ppd_name_translation ppd_text ppd_text_pool ppd_tokenizer wide_from_byte_units_cp1252)
