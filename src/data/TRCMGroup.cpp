#include "data/TRCMGroup.h"

#include <cstdio>

#include "platform/Files.h"
#include "data/TRCMFile.h"

std::string TRCMGroup::save(const std::string& indent) {
    std::string out;
    _save(out, indent);
    return out;
}

void TRCMGroup::_save(std::string& out, const std::string& indent) {
    const bool named = !_id.empty();
    if (named) {
        out += indent;
        out += _id;
        out += " {\n";
    }
    if (_listaWpisow.empty()) out += '\n';
    for (auto& e : _listaWpisow) {
        if (!e->_value.empty() && e->_value[0].empty()) e->_value[0] = "0";
        out += indent;
        out += '\t';
        e->appendEntryText(out);
        out += '\n';
    }
    const std::string inner = indent + "\t";
    for (auto& g : _listaGrup) g->_save(out, inner);
    if (named) {
        out += indent;
        out += "}\n\n";
    }
}

void TRCMGroup::showGroup(const std::string& indent) {
    std::string out = indent + "GROUP " + _id + "\n";
    for (auto& e : _listaWpisow) {
        out += indent + "\t";
        e->appendEntryText(out);
        out += '\n';
    }
    std::fputs(out.c_str(), stdout);
    for (auto& g : _listaGrup) g->showGroup(indent + "\t");
}

TRCMGroupPtr TRCMGroup::getGroup(const std::string& id) const {
    for (auto& g : _listaGrup)
        if (EqualsNoCase(g->_id, id)) return g;
    return nullptr;
}

TRCMEntryPtr TRCMGroup::getEntry(const std::string& id) const {
    for (auto& e : _listaWpisow)
        if (EqualsNoCase(e->_id, id)) return e;
    return nullptr;
}

void TRCMGroup::deleteString(const std::string& id) {
    for (auto it = _listaWpisow.begin(); it != _listaWpisow.end(); ++it) {
        if (EqualsNoCase((*it)->_id, id)) {
            _listaWpisow.erase(it);
            return;
        }
    }
}

// An index this large is a caller's mistake; refusing it keeps a bad value
// from allocating gigabytes.
static bool indexOk(int index) { return index >= 0 && index < (1 << 20); }

void TRCMGroup::setStringEntry(const std::string& id, const std::string& value, int index) {
    if (!indexOk(index)) return;
    if (auto e = getEntry(id)) e->setValue(value, index);
    else _addEntry(id, value, index)->_type = 0;
}

void TRCMGroup::setFloatEntry(const std::string& id, double value, int index) {
    if (!indexOk(index)) return;
    std::string text = rcmNumberText(value);
    if (auto e = getEntry(id)) e->setValue(text, index);
    else _addEntry(id, text, index)->_type = 1;
}

TRCMEntryPtr TRCMGroup::_addEntry(const std::string& id, const std::string& value, int index) {
    auto e = std::make_shared<TRCMEntry>();
    e->_id = id;
    if (indexOk(index)) e->setValue(value, index);
    _listaWpisow.push_back(e);
    return e;
}
