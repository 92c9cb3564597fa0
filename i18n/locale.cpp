#include "i18n/locale.h"

#include "i18n/language.h"

#include <QtGlobal>

namespace tillora {

namespace {

struct LocaleId {
    const char* locale;
    int id;
};

// Language and territory to Windows language identifier.
constexpr LocaleId localeIds[] = {
    {"af_ZA", 1078},  {"am_ET", 1118},  {"ar_AE", 14337}, {"ar_BH", 15361}, {"ar_DZ", 5121},
    {"ar_EG", 3073},  {"ar_IQ", 2049},  {"ar_JO", 11265}, {"ar_KW", 13313}, {"ar_LB", 12289},
    {"ar_LY", 4097},  {"ar_MA", 6145},  {"ar_OM", 8193},  {"ar_QA", 16385}, {"ar_SA", 1025},
    {"ar_SY", 10241}, {"ar_TN", 7169},  {"ar_YE", 9217},  {"az_AZ", 1068},  {"be_BY", 1059},
    {"bg_BG", 1026},  {"bn_BD", 2117},  {"bn_IN", 1093},  {"bs_BA", 5146},  {"ca_ES", 1027},
    {"cs_CZ", 1029},  {"cy_GB", 1106},  {"da_DK", 1030},  {"de_AT", 3079},  {"de_CH", 2055},
    {"de_DE", 1031},  {"de_LI", 5127},  {"de_LU", 4103},  {"el_GR", 1032},  {"en_AU", 3081},
    {"en_BZ", 10249}, {"en_CA", 4105},  {"en_GB", 2057},  {"en_IE", 6153},  {"en_IN", 16393},
    {"en_JM", 8201},  {"en_MY", 17417}, {"en_NZ", 5129},  {"en_PH", 13321}, {"en_SG", 18441},
    {"en_TT", 11273}, {"en_US", 1033},  {"en_ZA", 7177},  {"en_ZW", 12297}, {"es_AR", 11274},
    {"es_BO", 16394}, {"es_CL", 13322}, {"es_CO", 9226},  {"es_CR", 5130},  {"es_DO", 7178},
    {"es_EC", 12298}, {"es_ES", 3082},  {"es_GT", 4106},  {"es_HN", 18442}, {"es_MX", 2058},
    {"es_NI", 19466}, {"es_PA", 6154},  {"es_PE", 10250}, {"es_PR", 20490}, {"es_PY", 15370},
    {"es_SV", 17418}, {"es_US", 21514}, {"es_UY", 14346}, {"es_VE", 8202},  {"et_EE", 1061},
    {"eu_ES", 1069},  {"fa_IR", 1065},  {"fi_FI", 1035},  {"fil_PH", 1124}, {"fo_FO", 1080},
    {"fr_BE", 2060},  {"fr_CA", 3084},  {"fr_CH", 4108},  {"fr_FR", 1036},  {"fr_LU", 5132},
    {"fr_MC", 6156},  {"ga_IE", 2108},  {"gl_ES", 1110},  {"gu_IN", 1095},  {"he_IL", 1037},
    {"hi_IN", 1081},  {"hr_BA", 4122},  {"hr_HR", 1050},  {"hu_HU", 1038},  {"hy_AM", 1067},
    {"id_ID", 1057},  {"is_IS", 1039},  {"it_CH", 2064},  {"it_IT", 1040},  {"ja_JP", 1041},
    {"ka_GE", 1079},  {"kk_KZ", 1087},  {"km_KH", 1107},  {"kn_IN", 1099},  {"ko_KR", 1042},
    {"ky_KG", 1088},  {"lo_LA", 1108},  {"lt_LT", 1063},  {"lv_LV", 1062},  {"mk_MK", 1071},
    {"ml_IN", 1100},  {"mn_MN", 1104},  {"mr_IN", 1102},  {"ms_BN", 2110},  {"ms_MY", 1086},
    {"mt_MT", 1082},  {"nb_NO", 1044},  {"ne_NP", 1121},  {"nl_BE", 2067},  {"nl_NL", 1043},
    {"nn_NO", 2068},  {"pa_IN", 1094},  {"pl_PL", 1045},  {"ps_AF", 1123},  {"pt_BR", 1046},
    {"pt_PT", 2070},  {"ro_RO", 1048},  {"ru_RU", 1049},  {"si_LK", 1115},  {"sk_SK", 1051},
    {"sl_SI", 1060},  {"sq_AL", 1052},  {"sr_RS", 10266}, {"sv_FI", 2077},  {"sv_SE", 1053},
    {"sw_KE", 1089},  {"ta_IN", 1097},  {"te_IN", 1098},  {"tg_TJ", 1064},  {"th_TH", 1054},
    {"tk_TM", 1090},  {"tr_TR", 1055},  {"uk_UA", 1058},  {"ur_PK", 1056},  {"uz_UZ", 1091},
    {"vi_VN", 1066},  {"xh_ZA", 1076},  {"zh_CN", 2052},  {"zh_HK", 3076},  {"zh_MO", 5124},
    {"zh_SG", 4100},  {"zh_TW", 1028},  {"zu_ZA", 1077},
};

// A language given without territory, or with a territory the table does not list: the
// language's main country. Portuguese goes to Brazil, which Windows takes as the default
// sublanguage of Portuguese and where most speakers live; Chinese goes to the simplified
// script of mainland China for the same reason of numbers.
constexpr LocaleId languageIds[] = {
    {"af", 1078}, {"am", 1118}, {"ar", 1025}, {"az", 1068}, {"be", 1059},  {"bg", 1026}, {"bn", 2117},
    {"bs", 5146}, {"ca", 1027}, {"cs", 1029}, {"cy", 1106}, {"da", 1030},  {"de", 1031}, {"el", 1032},
    {"en", 1033}, {"es", 3082}, {"et", 1061}, {"eu", 1069}, {"fa", 1065},  {"fi", 1035}, {"fil", 1124},
    {"fo", 1080}, {"fr", 1036}, {"ga", 2108}, {"gl", 1110}, {"gu", 1095},  {"he", 1037}, {"hi", 1081},
    {"hr", 1050}, {"hu", 1038}, {"hy", 1067}, {"id", 1057}, {"in", 1057},  {"is", 1039}, {"it", 1040},
    {"iw", 1037}, {"ja", 1041}, {"ka", 1079}, {"kk", 1087}, {"km", 1107},  {"kn", 1099}, {"ko", 1042},
    {"ky", 1088}, {"lo", 1108}, {"lt", 1063}, {"lv", 1062}, {"mk", 1071},  {"ml", 1100}, {"mn", 1104},
    {"mr", 1102}, {"ms", 1086}, {"mt", 1082}, {"nb", 1044}, {"ne", 1121},  {"nl", 1043}, {"nn", 2068},
    {"no", 1044}, {"pa", 1094}, {"pl", 1045}, {"ps", 1123}, {"pt", 1046},  {"ro", 1048}, {"ru", 1049},
    {"si", 1115}, {"sk", 1051}, {"sl", 1060}, {"sq", 1052}, {"sr", 10266}, {"sv", 1053}, {"sw", 1089},
    {"ta", 1097}, {"te", 1098}, {"tg", 1064}, {"th", 1054}, {"tk", 1090},  {"tl", 1124}, {"tr", 1055},
    {"uk", 1058}, {"ur", 1056}, {"uz", 1091}, {"vi", 1066}, {"xh", 1076},  {"zh", 2052}, {"zu", 1077},
};

int findId(const LocaleId* begin, const LocaleId* end, const QString& name) {
    for (const LocaleId* entry = begin; entry != end; ++entry) {
        if (name == QLatin1String(entry->locale))
            return entry->id;
    }
    return NoLanguageId;
}

// "C", "POSIX" and their variants such as "C.UTF-8" name no language.
bool isPlainLocale(const QString& localeName) {
    qsizetype end = 0;
    while (end < localeName.size() && localeName[end] != u'.' && localeName[end] != u'@')
        ++end;
    const QStringView language = QStringView(localeName).first(end);
    return language == u"C" || language == u"POSIX";
}

} // namespace

QString messagesLocaleName(const EnvironmentLookup& environment) {
    QString locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = environment(name);
        if (!locale.isEmpty())
            break;
    }
    // gettext follows LANGUAGE only when a real locale is in effect.
    if (!locale.isEmpty() && !isPlainLocale(locale)) {
        const QStringList entries = environment("LANGUAGE").split(u':', Qt::SkipEmptyParts);
        if (!entries.isEmpty())
            return entries.first();
    }
    return locale;
}

int languageIdForLocale(const QString& localeName) {
    QString name = localeName.trimmed();
    const qsizetype modifier = name.indexOf(u'@');
    if (modifier >= 0)
        name.truncate(modifier);
    const qsizetype codeset = name.indexOf(u'.');
    if (codeset >= 0)
        name.truncate(codeset);
    if (name.isEmpty() || name == u"C" || name == u"POSIX")
        return NoLanguageId;
    // Also accept the "de-DE" form some environments write.
    qsizetype separator = name.indexOf(u'_');
    if (separator < 0)
        separator = name.indexOf(u'-');
    const QString language = (separator < 0 ? name : name.left(separator)).toLower();
    const QString territory = separator < 0 ? QString() : name.sliced(separator + 1).toUpper();
    if (!territory.isEmpty()) {
        const int id = findId(std::begin(localeIds), std::end(localeIds), language + u'_' + territory);
        if (id != NoLanguageId)
            return id;
    }
    return findId(std::begin(languageIds), std::end(languageIds), language);
}

int userLanguageId(const EnvironmentLookup& environment) {
    return languageIdForLocale(messagesLocaleName(environment));
}

int userLanguageId() {
    return userLanguageId([](const char* name) { return qEnvironmentVariable(name); });
}

QList<int> knownLanguageIds() {
    QList<int> ids;
    for (const LocaleId& entry : localeIds)
        ids.append(entry.id);
    for (const LocaleId& entry : languageIds) {
        if (!ids.contains(entry.id))
            ids.append(entry.id);
    }
    return ids;
}

} // namespace tillora
